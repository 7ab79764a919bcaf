// The two pair finders give the same bits: passing over pairs whose boxes are apart is asking the
// detector about every pair, on seeded random scenes of spheres, capsules, meshes, a grid stage
// with walls and ceilings, exclusion groups, fast bodies, a pile, bodies of one material and a
// callback that rejects some contacts, in float and in double.

#include "physics/engine3d/collision/SceneCollisions.h"
#include "common/object/ObjectFactory.h"
#include "host/detector/HostCollisionDetector.h"
#include "host/project/HostPhysicsAttribute.h"
#include "support/EngineOnScene.h"
#include "support/SkinDetector.h"
#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

namespace zor {
namespace {

// Rejects the contacts of every third pair or face it is asked about, counted per scene run.
int g_asked = 0;
template <typename T>
bool rejectSome(IElement*, IElement*, Collision3DAttribute<T>*, RigidBody3DAttribute<T>*, IElement*,
                IElement*, Collision3DAttribute<T>*, RigidBody3DAttribute<T>*, Vector3<T>*, T) {
    return ++g_asked % 3 != 0;
}
template <typename T>
bool rejectSomeFaces(IElement*, IElement*, Collision3DAttribute<T>*, RigidBody3DAttribute<T>*, IObject*,
                     Collision3DAttribute<T>*, RigidBody3DAttribute<T>*, uint32, uint32, uint32, Vector3<T>*,
                     T) {
    return ++g_asked % 3 != 0;
}

// The detector a scene run asks: the host's, which declares a reach of 0, or one that reports
// contacts up to 0.01 beyond touching and declares that reach, or declares nothing.
enum class Asked { Host, DeclaredSkin, UndeclaredSkin };

// A scene and the engine that steps it, finding pairs with `finder`.
template <typename T = double>
struct World : test::EngineScene<T> {
    test::SkinDetector<T>* skin = nullptr;

    explicit World(PairFinder finder, Asked asked = Asked::Host) {
        setPairFinder(*this->engine, finder);
        if (asked != Asked::Host)
            this->engine->template collisionDetector<T>() = skin =
                new test::SkinDetector<T>(0.01, asked == Asked::DeclaredSkin ? 0.01 : -1);
    }
};

// The bytes of `values`, one after the other.
class Bytes : public std::vector<unsigned char> {
public:
    template <typename Value>
    void add(const Value& value) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(&value);
        insert(end(), bytes, bytes + sizeof value);
    }
};

// The final positions and speeds of a random scene after some steps, as bytes; with the detector
// that declares nothing, also what it was asked.
template <typename T>
Bytes runScene(unsigned seed, PairFinder finder, Asked asked) {
    using V = Vector3<T>;
    World<T> world(finder, asked);
    Scene3D<T>* scene = world.scene;
    g_asked = 0;
    std::mt19937 random(seed);
    // Every fourth scene is crowded: deep overlaps give large pushes that bring new pairs together
    // while a primitive's pairs are being tested.
    const double room = seed % 4 == 1 ? 1.5 : 5;
    std::uniform_real_distribution<double> coordinate(0.5, 0.5 + room), speed(-3, 3), unit(0, 1);
    scene->setGravity(9.81);
    world.setCallbacks(seed % 2 == 0 ? &rejectSome<T> : nullptr,
                       seed % 4 == 0 ? &rejectSomeFaces<T> : nullptr);

    const GridTile<T> tile = test::floorTile<T>();
    GridStage<T>* stage = test::stageOf(6, 6, tile, true);
    auto* floor = new RigidBody3DAttribute<T>();
    // Some scenes with a pile have a floor that is also the pile's lowest body (below), whose
    // speed changes as it is hit.
    const bool floorIsBody = seed % 6 == 3;
    floor->setInfiniteMass(!floorIsBody);
    const uint32 floorBody = stage->tiles()[0].floorRigidBody = stage->rigidBodyAttributes().add(floor);
    // Border cells have walls facing inward (the full height and a lower segment); two cells
    // inside have a low ceiling with a lintel above it.
    for (uint32 row = 0; row < 6; ++row)
        for (uint32 column = 0; column < 6; ++column) {
            const uint32 sides =
                (column == 0 ? 1 : 0) | (row == 0 ? 2 : 0) | (column == 5 ? 4 : 0) | (row == 5 ? 8 : 0);
            const bool covered = (row == 2 && column == 3) || (row == 3 && column == 2);
            if (sides == 0 && !covered)
                continue;
            GridTile<T> other = stage->tiles()[0];
            other.ceilingPresent = covered;
            other.ceilingHeight = T(covered ? 1.5 : 4);
            other.ceilingRigidBody = floorBody;
            for (uint32 side = 0; side < 4; ++side) {
                GridTileSide<T>& wall = other.sides[side];
                wall.sidePresent = ((sides >> side) & 1) != 0 || covered;
                wall.middlePresent = wall.lowerPresent = !covered;
                wall.upperPresent = covered;
                wall.lowerHeight = T(0.5);
                wall.upperHeight = T(0.25);
                wall.middleCollision = wall.lowerCollision = wall.upperCollision = kNoGridAttribute;
                wall.middleRigidBody = wall.lowerRigidBody = wall.upperRigidBody = floorBody;
            }
            stage->tiles().pushBack(other);
            stage->cells()[row * 6 + column] = uint32(stage->tiles().size());
        }
    stage->retain();
    world.add(stage);

    // Every fifth scene's bodies share one material, which the responses may work out once.
    const bool oneMaterial = seed % 5 == 2;
    const double restitution = unit(random), friction = unit(random);
    const auto giveMaterial = [&](RigidBody3DAttribute<T>* body) {
        body->setRestitutionFactor(T(restitution));
        body->setRestitutionCombine(seed % 4);
        body->setFrictionCoefficient(T(friction));
        body->setMass(T(0.5 + restitution));
    };
    std::vector<Element3D<T>*> elements;
    const int count = 6 + int(seed % 14);
    for (int i = 0; i < count; ++i) {
        const double pick = unit(random);
        const ElementKind kind = pick < 0.5    ? ElementKind::Sphere
                                 : pick < 0.85 ? ElementKind::Capsule
                                               : ElementKind::Mesh;
        const V position{T(coordinate(random)), T(coordinate(random) * 0.5), T(-coordinate(random))};
        const V rotation{T(unit(random)), T(unit(random)), T(unit(random))};
        const T radius = T(0.2 + 0.4 * unit(random)), height = T(unit(random));
        RigidBody3DAttribute<T>* body = nullptr;
        if (kind != ElementKind::Mesh || (unit(random) < 0.5 && !oneMaterial)) {
            body = new RigidBody3DAttribute<T>();
            const bool fast = unit(random) < 0.2;
            body->setLinearSpeed({T(speed(random) * (fast ? 10 : 1)), T(speed(random)), T(speed(random))});
            body->setRestitutionFactor(T(unit(random)));
            body->setRestitutionCombine(uint32(unit(random) * 4));
            body->setFrictionCoefficient(T(unit(random)));
            body->setExclusionGroup(unit(random) < 0.3 ? 1 : 0);
            body->setMass(T(unit(random) < 0.1 ? 0 : 0.5 + unit(random)));
            body->setInfiniteMass(kind == ElementKind::Mesh);
            if (oneMaterial)
                giveMaterial(body);
        }
        Element3D<T>* element = world.add(kind, position, radius, height, body);
        element->transform().rotation = rotation;
        if (kind == ElementKind::Mesh) {
            for (const V& v : {V{-1, 0, -1}, V{-1, 0, 1}, V{1, 0, 1}, V{1, 0, -1}})
                element->mesh()->vertices().pushBack(v);
            for (uint32 index : {0u, 1u, 2u, 0u, 2u, 3u})
                element->mesh()->triangles().pushBack(index);
        }
        elements.push_back(element);
    }
    // Every third scene has a pile: a column of spheres, each sunk into the one below.
    for (int level = 0; seed % 3 == 0 && level < 8; ++level) {
        auto* body = new RigidBody3DAttribute<T>();
        if (oneMaterial)
            giveMaterial(body);
        const V position{T(2 + 0.05 * unit(random)), T(0.5 + 0.8 * level), T(-2 - 0.05 * unit(random))};
        elements.push_back(world.add(ElementKind::Sphere, position, T(0.5), 0, body));
    }
    // Bodies the responses must reach themselves: a body with speed limits, two elements of one
    // attribute, the lowest of the pile whose attribute is the floor's.
    auto* firstBody = static_cast<RigidBody3DAttribute<T>*>(elements[0]->getPhysicsAttribute(1));
    if (seed % 8 == 1 && firstBody != nullptr) {
        firstBody->setMaxLinearSpeed(T(1.5));
        firstBody->setMaxLinearAcceleration(4);
    }
    if (seed % 8 == 3 && firstBody != nullptr)
        elements[3]->setPhysicsAttribute(1, firstBody);
    if (floorIsBody)
        elements[std::size_t(count)]->setPhysicsAttribute(1, floor);
    floor->release();
    // Between steps bodies change as a game changes them: two trade places, one stops colliding
    // for a while. Pairs kept from the step before must not miss them.
    IObject* collision = elements[1]->getPhysicsAttribute(2);
    collision->retain();
    for (int step = 0; step < 12; ++step) {
        if (step == 3)
            std::swap(elements[0]->transform().position, elements[2]->transform().position);
        if (step == 5 || step == 8)
            elements[1]->setPhysicsAttribute(2, step == 5 ? nullptr : collision);
        // The grid stage changes too: a floor rises in place, a cell gets walls.
        if (step == 6)
            stage->tiles()[0].floorHeight = T(0.25);
        if (step == 9)
            stage->cells()[2 * 6 + 2] = 2;
        world.step(1.0 / 30);
    }
    collision->release();
    stage->release();
    Bytes state;
    for (Element3D<T>* element : elements) {
        state.add(element->transform().position);
        if (auto* body = static_cast<RigidBody3DAttribute<T>*>(element->getPhysicsAttribute(1)))
            state.add(body->getLinearSpeed());
    }
    if (asked == Asked::UndeclaredSkin)
        state.add(world.skin->askedCount), state.add(world.skin->askedHash);
    return state;
}

// The speeds of `bodies`.
Bytes speedsOf(const std::vector<RigidBody3DAttribute<double>*>& bodies) {
    Bytes speeds;
    for (auto* body : bodies)
        speeds.add(body->getLinearSpeed());
    return speeds;
}

// The bodies of the contacts reported, in order, by their place in the scene.
std::vector<IElement*> g_bodies;
std::vector<unsigned char> g_contacts;
bool listContact(IElement* first, IElement*, Collision3DAttribute<double>*, RigidBody3DAttribute<double>*,
                 IElement* second, IElement*, Collision3DAttribute<double>*, RigidBody3DAttribute<double>*,
                 Vector3<double>*, double) {
    for (IElement* body : {first, second})
        g_contacts.push_back(
            static_cast<unsigned char>(std::find(g_bodies.begin(), g_bodies.end(), body) - g_bodies.begin()));
    return true;
}

// Sphere 0 is pushed by the deep overlap with sphere 1 (of infinite mass) into sphere 2, which lay
// out of its reach when its pairs were first gathered: the push must bring sphere 2 in, and the
// same pairs be found in the same order.
Bytes runPush(PairFinder finder) {
    World world(finder);
    world.setCallbacks(&listContact, nullptr);
    g_contacts.clear();
    g_bodies.clear();
    std::vector<RigidBody3DAttribute<double>*> bodies;
    for (double x : {0.9, 0.85, 2.7}) {
        Element3D<double>* element;
        bodies.push_back(world.addBody(ElementKind::Sphere, {x, 0, 0}, 0.5, 0, &element));
        bodies.back()->setInfiniteMass(bodies.size() == 2);
        g_bodies.push_back(element);
    }
    world.step(1.0 / 60, false);
    Bytes state = speedsOf(bodies);
    state.insert(state.end(), g_contacts.begin(), g_contacts.end());
    return state;
}

// A sphere of radius 1 in front of a wall, its centre 1.15 below the wall's foot, which reaches
// up to 1e30: the detector's rounding, which grows with the wall's far corners, finds a contact.
Bytes runFarWall(PairFinder finder) {
    World world(finder);
    GridTile<double> tile = test::floorTile<double>();
    tile.floorPresent = 0;
    tile.floorHeight = 1.15;
    tile.ceilingHeight = 1e30;
    GridTileSide<double>& wall = tile.sides[3];
    wall.sidePresent = wall.middlePresent = 1;
    wall.middleCollision = wall.lowerCollision = wall.upperCollision = kNoGridAttribute;
    GridStage<double>* stage = test::stageOf(1, 1, tile, true);
    auto* wallBody = new RigidBody3DAttribute<double>();
    wallBody->setInfiniteMass(true);
    stage->tiles()[0].sides[3].middleRigidBody = stage->rigidBodyAttributes().add(wallBody);
    wallBody->release();
    world.add(stage);
    Element3D<double>* element;
    world.addBody(ElementKind::Sphere, {0, 0, 0.5}, 1, 0, &element);
    world.step(1.0 / 60, false);
    Bytes state;
    state.add(element->transform().position);
    return state;
}

// Steps another, smaller scene with the same engine from inside the first contact's callback.
PhysicsEngine3D* g_engine = nullptr;
Scene3D<double>* g_scenes[2] = {};
bool g_nested = false;
bool stepOtherScene(IElement*, IElement*, Collision3DAttribute<double>*, RigidBody3DAttribute<double>*,
                    IElement*, IElement*, Collision3DAttribute<double>*, RigidBody3DAttribute<double>*,
                    Vector3<double>*, double) {
    if (!g_nested) {
        g_nested = true;
        g_engine->setCurrentScene(g_scenes[1]);
        g_engine->updateCollisions(nullptr);
        g_engine->setCurrentScene(g_scenes[0]);
    }
    return true;
}

// A pile whose first contact makes the engine step a scene of three spheres in between.
Bytes runNested(PairFinder finder) {
    World world(finder);
    World other(finder);
    std::vector<RigidBody3DAttribute<double>*> bodies;
    for (int i = 0; i < 40; ++i)
        bodies.push_back(world.addBody(ElementKind::Sphere, {0.9 * (i % 5), 0.9 * (i / 5), -1}, 0.5));
    for (int i = 0; i < 3; ++i)
        other.addBody(ElementKind::Sphere, {0.8 * i, 0, -1}, 0.5);
    other.scene->updateView();
    g_engine = world.engine;
    g_scenes[0] = world.scene;
    g_scenes[1] = other.scene;
    g_nested = false;
    world.setCallbacks(&stepOtherScene, nullptr);
    world.step(1.0 / 60, false);
    return speedsOf(bodies);
}

// Two engines of one process, one finding pairs with the grid and one asking every pair, stepped
// in turn: each keeps to its own way, and they end in the same state.
TEST(SceneCollisions, TwoEnginesFindPairsEachTheirOwnWay) {
    test::TestApplicationData record{&HostObject::create, &HostPhysicsAttribute::create};
    World grid(PairFinder::Grid, Asked::DeclaredSkin), all(PairFinder::AllPairs, Asked::DeclaredSkin);
    std::vector<RigidBody3DAttribute<double>*> bodies[2];
    for (World<double>* world : {&grid, &all})
        for (int i = 0; i < 12; ++i) {
            auto* body = world->addBody(ElementKind::Sphere, {0.98 * i, 0.1 * (i % 3), 0}, 0.5);
            body->setLinearSpeed({i % 2 == 0 ? 1.0 : -1.0, 0, 0});
            bodies[world == &all].push_back(body);
        }
    for (int step = 0; step < 10; ++step) {
        grid.step(1.0 / 60);
        all.step(1.0 / 60);
    }
    EXPECT_EQ(speedsOf(bodies[0]), speedsOf(bodies[1]));
    EXPECT_LT(grid.skin->askedCount * 2, all.skin->askedCount);
    EXPECT_EQ(getPairFinder(*grid.engine), PairFinder::Grid);
}

TEST(SceneCollisions, GiveTheSameBitsAsAskingTheDetectorAboutEveryPair) {
    test::TestApplicationData record{&HostObject::create, &HostPhysicsAttribute::create};
    zor_addObjectAllocator<HostCollisionDetector<float>>();
    zor_addObjectAllocator<HostCollisionDetector<double>>();
    constexpr PairFinder kGrid = PairFinder::Grid, kAllPairs = PairFinder::AllPairs;
    EXPECT_EQ(runPush(kGrid), runPush(kAllPairs));
    EXPECT_EQ(runFarWall(kGrid), runFarWall(kAllPairs)) << "a face's far corners widen the reach";
    EXPECT_EQ(runNested(kGrid), runNested(kAllPairs)) << "a stage run inside another keeps to its own pairs";
    // A detector that declares nothing is asked, with the grid chosen, exactly what the defined
    // order asks.
    for (const Asked asked : {Asked::Host, Asked::DeclaredSkin, Asked::UndeclaredSkin})
        for (unsigned seed = 1; seed <= 200; ++seed) {
            ASSERT_EQ(runScene<double>(seed, kGrid, asked), runScene<double>(seed, kAllPairs, asked))
                << "double, seed " << seed << ", detector " << int(asked);
            ASSERT_EQ(runScene<float>(seed, kGrid, asked), runScene<float>(seed, kAllPairs, asked))
                << "float, seed " << seed << ", detector " << int(asked);
        }
}

} // namespace
} // namespace zor
