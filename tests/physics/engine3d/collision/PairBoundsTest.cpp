// Passing over pairs whose boxes are apart gives the same bits as asking the detector about
// every pair, on seeded random scenes of spheres, capsules, meshes, a grid stage with walls and
// ceilings, exclusion groups, fast bodies, a pile, bodies of one material and a callback that
// rejects some contacts.

#include "common/object/ObjectFactory.h"
#include "host/detector/HostCollisionDetector.h"
#include "host/project/HostPhysicsAttribute.h"
#include "host/scene3d/GridStage.h"
#include "host/scene3d/Scene3D.h"
#include "physics/attributes/Collision3DAttribute.h"
#include "physics/attributes/RigidBody3DAttribute.h"
#include "physics/engine3d/PhysicsEngine3D.h"
#include "physics/engine3d/broadphase/BroadPhase.h"
#include "physics/engine3d/collision/SceneCollisions.h"
#include "support/EngineOnScene.h"
#include "support/SkinDetector.h"
#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

namespace zor {
namespace {

// Rejects the contacts of every third pair it is asked about, counted per scene run.
int g_asked = 0;
bool rejectSome(IElement*, IElement*, Collision3DAttribute<double>*, RigidBody3DAttribute<double>*, IElement*,
                IElement*, Collision3DAttribute<double>*, RigidBody3DAttribute<double>*, Vector3<double>*,
                double) {
    return ++g_asked % 3 != 0;
}
bool rejectSomeFaces(IElement*, IElement*, Collision3DAttribute<double>*, RigidBody3DAttribute<double>*,
                     IObject*, Collision3DAttribute<double>*, RigidBody3DAttribute<double>*, uint32, uint32,
                     uint32, Vector3<double>*, double) {
    return ++g_asked % 3 != 0;
}

// The detector a scene run asks: the host's, which declares a reach of 0, or one that reports
// contacts up to 0.01 beyond touching and declares that reach, or declares nothing.
enum class Asked { Host, DeclaredSkin, UndeclaredSkin };

// A scene of bodies and the engine that steps it, finding pairs with `finder`.
struct World {
    Scene3D<double>* scene = new Scene3D<double>();
    PhysicsEngine3D* engine = test::engineOn(scene);
    test::SkinDetector<double>* skin = nullptr;

    explicit World(PairFinder finder, Asked asked = Asked::Host) {
        setPairFinder(*engine, finder);
        if (asked != Asked::Host)
            engine->collisionDetector<double>() = skin =
                new test::SkinDetector<double>(0.01, asked == Asked::DeclaredSkin ? 0.01 : -1);
    }
    ~World() {
        engine->release();
        scene->release();
    }
    /// Gives `element` a collision attribute and `body` (unless null), and hands it to the scene.
    void add(Element3D<double>* element, RigidBody3DAttribute<double>* body) {
        auto* collision = new Collision3DAttribute<double>();
        collision->setEventParent(0);
        element->setPhysicsAttribute(2, collision);
        collision->release();
        if (body != nullptr) {
            element->setPhysicsAttribute(1, body);
            body->release();
        }
        scene->addElement(element);
        element->release();
    }
    void step(double dt, bool move) {
        scene->updateView();
        engine->beginIteration(dt);
        if (move)
            engine->updateMovements();
        engine->updateCollisions(nullptr);
        engine->endIteration();
    }
};

// The final positions and speeds of a random scene after some steps, as bytes; with the detector
// that declares nothing, also what it was asked.
std::vector<unsigned char> runScene(unsigned seed, PairFinder finder, Asked asked) {
    World world(finder, asked);
    Scene3D<double>* scene = world.scene;
    g_asked = 0;
    std::mt19937 random(seed);
    // Every fourth scene is crowded: deep overlaps give large pushes that bring new pairs together
    // while a primitive's pairs are being tested.
    const double room = seed % 4 == 1 ? 1.5 : 5;
    std::uniform_real_distribution<double> coordinate(0.5, 0.5 + room), speed(-3, 3), unit(0, 1);
    scene->setGravity(9.81);
    if (seed % 2 == 0)
        world.engine->setCollisionCallbackDouble(&rejectSome);
    if (seed % 4 == 0)
        world.engine->setGridStageCollisionCallbackDouble(&rejectSomeFaces);

    auto* stage = new GridStage<double>(6, 6, 1, 1);
    GridTile<double> tile{};
    tile.floorPresent = 1;
    tile.floorCollision = tile.ceilingCollision = kNoGridAttribute;
    auto* floor = new RigidBody3DAttribute<double>();
    // Some scenes with a pile have a floor that is also the pile's lowest body (below), whose
    // speed changes as it is hit.
    const bool floorIsBody = seed % 6 == 3;
    floor->setInfiniteMass(!floorIsBody);
    tile.floorRigidBody = stage->rigidBodyAttributes().add(floor);
    stage->tiles().pushBack(tile);
    for (uint32& cell : stage->cells())
        cell = 1;
    // Border cells have walls facing inward (the full height and a lower segment); two cells
    // inside have a low ceiling with a lintel above it.
    for (uint32 row = 0; row < 6; ++row)
        for (uint32 column = 0; column < 6; ++column) {
            const uint32 sides =
                (column == 0 ? 1 : 0) | (row == 0 ? 2 : 0) | (column == 5 ? 4 : 0) | (row == 5 ? 8 : 0);
            const bool covered = (row == 2 && column == 3) || (row == 3 && column == 2);
            if (sides == 0 && !covered)
                continue;
            GridTile<double> other = tile;
            other.ceilingPresent = covered;
            other.ceilingHeight = covered ? 1.5 : 4;
            other.ceilingRigidBody = tile.floorRigidBody;
            for (uint32 side = 0; side < 4; ++side) {
                GridTileSide<double>& wall = other.sides[side];
                wall.sidePresent = ((sides >> side) & 1) != 0 || covered;
                wall.middlePresent = wall.lowerPresent = !covered;
                wall.upperPresent = covered;
                wall.lowerHeight = 0.5;
                wall.upperHeight = 0.25;
                wall.middleCollision = wall.lowerCollision = wall.upperCollision = kNoGridAttribute;
                wall.middleRigidBody = wall.lowerRigidBody = wall.upperRigidBody = tile.floorRigidBody;
            }
            stage->tiles().pushBack(other);
            stage->cells()[row * 6 + column] = uint32(stage->tiles().size());
        }
    scene->addGridStage(stage);
    stage->release();

    // Every fifth scene's bodies share one material, which the responses may work out once.
    const bool oneMaterial = seed % 5 == 2;
    const double restitution = unit(random), friction = unit(random);
    const auto giveMaterial = [&](RigidBody3DAttribute<double>* body) {
        body->setRestitutionFactor(restitution);
        body->setRestitutionCombine(seed % 4);
        body->setFrictionCoefficient(friction);
        body->setMass(0.5 + restitution);
    };
    std::vector<Element3D<double>*> elements;
    const int count = 6 + int(seed % 14);
    for (int i = 0; i < count; ++i) {
        const double pick = unit(random);
        const ElementKind kind = pick < 0.5    ? ElementKind::Sphere
                                 : pick < 0.85 ? ElementKind::Capsule
                                               : ElementKind::Mesh;
        auto* element = new Element3D<double>(kind);
        element->transform().position = {coordinate(random), coordinate(random) * 0.5, -coordinate(random)};
        element->transform().rotation = {unit(random), unit(random), unit(random)};
        element->shape() = {0.2 + 0.4 * unit(random), unit(random)};
        if (kind == ElementKind::Mesh) {
            for (const Vector3<double>& v : {Vector3<double>{-1, 0, -1}, {-1, 0, 1}, {1, 0, 1}, {1, 0, -1}})
                element->mesh()->vertices().pushBack(v);
            for (uint32 index : {0u, 1u, 2u, 0u, 2u, 3u})
                element->mesh()->triangles().pushBack(index);
        }
        RigidBody3DAttribute<double>* body = nullptr;
        if (kind != ElementKind::Mesh || (unit(random) < 0.5 && !oneMaterial)) {
            body = new RigidBody3DAttribute<double>();
            const bool fast = unit(random) < 0.2;
            body->setLinearSpeed({speed(random) * (fast ? 10 : 1), speed(random), speed(random)});
            body->setRestitutionFactor(unit(random));
            body->setRestitutionCombine(uint32(unit(random) * 4));
            body->setFrictionCoefficient(unit(random));
            body->setExclusionGroup(unit(random) < 0.3 ? 1 : 0);
            body->setMass(unit(random) < 0.1 ? 0 : 0.5 + unit(random));
            body->setInfiniteMass(kind == ElementKind::Mesh);
            if (oneMaterial)
                giveMaterial(body);
        }
        elements.push_back(element);
        world.add(element, body);
    }
    // Every third scene has a pile: a column of spheres, each sunk into the one below.
    for (int level = 0; seed % 3 == 0 && level < 8; ++level) {
        auto* element = new Element3D<double>(ElementKind::Sphere);
        element->transform().position = {2 + 0.05 * unit(random), 0.5 + 0.8 * level,
                                         -2 - 0.05 * unit(random)};
        element->shape() = {0.5, 0};
        elements.push_back(element);
        auto* body = new RigidBody3DAttribute<double>();
        if (oneMaterial)
            giveMaterial(body);
        world.add(element, body);
    }
    // Bodies the responses must reach themselves: a body with speed limits, two elements of one
    // attribute, the lowest of the pile whose attribute is the floor's.
    IObject* firstBody = elements[0]->getPhysicsAttribute(1);
    if (seed % 8 == 1 && firstBody != nullptr) {
        static_cast<RigidBody3DAttribute<double>*>(firstBody)->setMaxLinearSpeed(1.5);
        static_cast<RigidBody3DAttribute<double>*>(firstBody)->setMaxLinearAcceleration(4);
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
            stage->tiles()[0].floorHeight = 0.25;
        if (step == 9)
            stage->cells()[2 * 6 + 2] = 2;
        world.step(1.0 / 30, true);
    }
    collision->release();
    std::vector<unsigned char> state;
    const auto keep = [&state](const void* data, std::size_t size) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        state.insert(state.end(), bytes, bytes + size);
    };
    for (Element3D<double>* element : elements) {
        keep(&element->transform().position, sizeof(Vector3<double>));
        if (auto* body = static_cast<RigidBody3DAttribute<double>*>(element->getPhysicsAttribute(1)))
            keep(&body->getLinearSpeed(), sizeof(Vector3<double>));
    }
    if (asked == Asked::UndeclaredSkin) {
        keep(&world.skin->askedCount, sizeof(uint64));
        keep(&world.skin->askedHash, sizeof(uint64));
    }
    return state;
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
// out of its reach when its pairs were first gathered: the push must bring sphere 2 in.
std::vector<unsigned char> runPush(PairFinder finder) {
    World world(finder);
    world.engine->setCollisionCallbackDouble(&listContact);
    g_contacts.clear();
    g_bodies.clear();
    std::vector<RigidBody3DAttribute<double>*> bodies;
    for (double x : {0.9, 0.85, 2.7}) {
        auto* element = new Element3D<double>(ElementKind::Sphere);
        element->transform().position = {x, 0, 0};
        element->shape() = {0.5, 0};
        auto* body = new RigidBody3DAttribute<double>();
        body->setInfiniteMass(bodies.size() == 1);
        g_bodies.push_back(element);
        bodies.push_back(body);
        world.add(element, body);
    }
    world.step(1.0 / 60, false);
    std::vector<unsigned char> state;
    for (auto* body : bodies) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(&body->getLinearSpeed());
        state.insert(state.end(), bytes, bytes + sizeof(Vector3<double>));
    }
    // The same pairs must be found in the same order.
    state.insert(state.end(), g_contacts.begin(), g_contacts.end());
    return state;
}

// A sphere of radius 1 in front of a wall, its centre 1.15 below the wall's foot, which reaches
// up to 1e30: the detector's rounding, which grows with the wall's far corners, finds a contact.
std::vector<unsigned char> runFarWall(PairFinder finder) {
    World world(finder);
    auto* stage = new GridStage<double>(1, 1, 1, 1);
    auto* wallBody = new RigidBody3DAttribute<double>();
    wallBody->setInfiniteMass(true);
    GridTile<double> tile{};
    tile.floorHeight = 1.15;
    tile.ceilingHeight = 1e30;
    tile.floorCollision = tile.ceilingCollision = kNoGridAttribute;
    GridTileSide<double>& wall = tile.sides[3];
    wall.sidePresent = wall.middlePresent = 1;
    wall.middleCollision = wall.lowerCollision = wall.upperCollision = kNoGridAttribute;
    wall.middleRigidBody = stage->rigidBodyAttributes().add(wallBody);
    wallBody->release();
    stage->tiles().pushBack(tile);
    stage->cells()[0] = 1;
    world.scene->addGridStage(stage);
    stage->release();
    auto* element = new Element3D<double>(ElementKind::Sphere);
    element->transform().position = {0, 0, 0.5};
    element->shape() = {1, 0};
    world.add(element, new RigidBody3DAttribute<double>());
    world.step(1.0 / 60, false);
    const auto* bytes = reinterpret_cast<const unsigned char*>(&element->transform().position);
    return {bytes, bytes + sizeof(Vector3<double>)};
}

// Whatever happens to the boxes from one stage to the next (small drifts, jumps across the room,
// bodies that stop colliding and start again, enough change to build the grid again, spheres that
// become other shapes and back or grow in a fat ball made for a smaller one) and during the walks
// (the candidates pushed, some out of their fat boxes or balls, a sphere's ball taking its room's
// radius while it stays within), each primitive's candidates are increasing and hold every later active
// primitive whose box overlaps (whose ball, for two spheres): in a room, along a corridor more
// cells long than a row's mask of loose cells holds, and among boxes with NaN, infinite and
// far-out coordinates.
TEST(PairBounds, TheBroadPhaseKeptBetweenStagesMissesNoOverlap) {
    struct Layout {
        uint64 count;
        double length;
        double width;
        /// How far the boxes drift across the length.
        double sideways;
        /// Some coordinates are NaN, infinite or far out.
        bool odd;
    };
    for (const Layout layout :
         {Layout{40, 8, 8, 1, false}, Layout{120, 200, 0.5, 0, false}, Layout{120, 6, 6, 1, true}}) {
        std::mt19937 random(7);
        std::uniform_real_distribution<double> unit(0, 1);
        const auto coordinate = [&](double value) {
            const double odd = layout.odd ? unit(random) : 1;
            return odd < 0.01 ? std::nan("") : odd < 0.02 ? INFINITY : odd < 0.03 ? -1e15 : value;
        };
        std::vector<WidenedBox> boxes(layout.count);
        // Every other primitive is a sphere: its ball, and its box around the ball.
        std::vector<WidenedBall> balls(layout.count, WidenedBall{{0, 0, 0}, -1});
        std::vector<uint8> active(layout.count, 1);
        const auto placeBall = [&](uint64 i) {
            const double radius = balls[i].radius;
            for (int axis = 0; axis < 3; ++axis) {
                balls[i].centre[axis] = boxes[i].low[axis] + radius;
                boxes[i].high[axis] = (boxes[i].low[axis] = balls[i].centre[axis] - radius) + 2 * radius;
            }
        };
        for (uint64 i = 0; i < layout.count; ++i) {
            for (int axis = 0; axis < 3; ++axis)
                boxes[i].high[axis] = (boxes[i].low[axis] = coordinate(
                                           (axis == 0 ? layout.length : layout.width) * unit(random))) +
                                      1;
            if (i % 2 == 1) {
                balls[i].radius = 0.5;
                placeBall(i);
            }
        }
        const auto push = [&](uint64 i, double step) {
            for (int axis = 0; axis < 3; ++axis) {
                const double by = step * (unit(random) - 0.5) * (axis == 0 ? 1 : layout.sideways);
                boxes[i].low[axis] += by;
                boxes[i].high[axis] += by;
            }
            if (balls[i].radius >= 0)
                placeBall(i);
        };
        const auto moved = [&](BroadPhase& broadPhase, uint64 k) {
            if (balls[k].radius < 0)
                return broadPhase.moved(k, boxes[k]);
            WidenedBall within = balls[k];
            if (broadPhase.movedWithinRoom(k, within))
                EXPECT_GE(within.radius, balls[k].radius);
            else
                broadPhase.movedSphere(k, balls[k]);
        };
        // Two spheres touch when their balls do (at a distance that is a number).
        const auto touch = [&](uint64 i, uint64 j) {
            if (balls[i].radius < 0 || balls[j].radius < 0)
                return overlaps(boxes[i], boxes[j]);
            const double x = balls[i].centre[0] - balls[j].centre[0],
                         y = balls[i].centre[1] - balls[j].centre[1],
                         z = balls[i].centre[2] - balls[j].centre[2];
            const double reach = balls[i].radius + balls[j].radius;
            return x * x + y * y + z * z <= reach * reach;
        };
        BroadPhase broadPhase;
        for (int stage = 0; stage < 60; ++stage) {
            const double jumps = stage % 10 == 9 ? 0.9 : 0.05;
            for (uint64 i = 0; i < layout.count; ++i) {
                push(i, unit(random) < jumps ? 6 : 0.2);
                if (unit(random) < 0.1)
                    active[i] = !active[i];
                if (stage % 7 == 3 && i % 5 == 0) {
                    balls[i].radius = balls[i].radius < 0 ? 0.5 : -1;
                    if (balls[i].radius >= 0)
                        placeBall(i);
                } else if (stage % 4 == 1 && i % 3 == 0 && balls[i].radius >= 0) {
                    balls[i].radius = balls[i].radius == 0.5 ? 0.6 : 0.5;
                    placeBall(i);
                }
            }
            broadPhase.build(boxes.data(), balls.data(), active.data(), layout.count);
            for (uint64 i = 0; i < layout.count; ++i) {
                if (!active[i])
                    continue;
                // Candidates turned down are passed over without a visit, the others may move.
                std::vector<uint64> pushed;
                const auto sometimes = [&](uint64) { return unit(random) < 0.7; };
                broadPhase.forEachCandidate(i, sometimes, [&](uint64 j) {
                    pushed.push_back(j);
                    for (const uint64 k : {i, j})
                        if (unit(random) < 0.3) {
                            push(k, unit(random) < 0.3 ? 8 : 0.1);
                            moved(broadPhase, k);
                        }
                });
                ASSERT_TRUE(std::is_sorted(pushed.begin(), pushed.end()));
            }
            for (uint64 i = 0; i < layout.count; ++i) {
                if (!active[i])
                    continue;
                std::vector<uint64> candidates;
                broadPhase.forEachCandidate(
                    i, [](uint64) { return true; }, [&](uint64 j) { candidates.push_back(j); });
                ASSERT_TRUE(std::is_sorted(candidates.begin(), candidates.end()));
                for (uint64 j = i + 1; j < layout.count; ++j) {
                    if (active[j] && touch(i, j)) {
                        ASSERT_TRUE(std::binary_search(candidates.begin(), candidates.end(), j))
                            << layout.length << " long, stage " << stage << ": " << j
                            << " missing from the candidates of " << i;
                    }
                }
            }
        }
    }
}

// A sphere grown inside a fat ball made for a smaller one has no room there: pushed towards a
// small sphere just beyond its fat ball, it leaves the fat ball and finds the sphere it reaches.
TEST(PairBounds, ASphereGrownInsideItsFatBallFindsWhatItReachesOncePushed) {
    WidenedBall balls[2] = {{{0, 0, 0}, 0.5}, {{0.709, 0, 0}, 0.01}};
    const auto boxOf = [](const WidenedBall& ball) {
        const double* c = ball.centre;
        const double r = ball.radius;
        return WidenedBox{{c[0] - r, c[1] - r, c[2] - r}, {c[0] + r, c[1] + r, c[2] + r}};
    };
    WidenedBox boxes[2] = {boxOf(balls[0]), boxOf(balls[1])};
    const uint8 active[2] = {1, 1};
    BroadPhase broadPhase;
    broadPhase.build(boxes, balls, active, 2);
    balls[0].radius = 0.6;
    boxes[0] = boxOf(balls[0]);
    broadPhase.build(boxes, balls, active, 2);
    balls[0].centre[0] = 0.1;
    WidenedBall within = balls[0];
    if (!broadPhase.movedWithinRoom(0, within))
        broadPhase.movedSphere(0, balls[0]);
    std::vector<uint64> candidates;
    broadPhase.forEachCandidate(
        0, [](uint64) { return true; }, [&](uint64 j) { candidates.push_back(j); });
    EXPECT_EQ(candidates, std::vector<uint64>{1});
}

// Spheres so large that the square of a distance between them overflows: a push or a jump
// farther than the room of the fat ball leaves it, though the room's square is no number
// either, and the sphere finds the one it now overlaps.
TEST(PairBounds, AHugeSphereMovedFarOutOfItsFatBallLeavesIt) {
    const auto boxOf = [](const WidenedBall& ball) {
        const double* c = ball.centre;
        const double r = ball.radius;
        return WidenedBox{{c[0] - r, c[1] - r, c[2] - r}, {c[0] + r, c[1] + r, c[2] + r}};
    };
    const uint8 active[2] = {1, 1};
    const auto candidatesOfFirst = [](BroadPhase& broadPhase) {
        std::vector<uint64> candidates;
        broadPhase.forEachCandidate(
            0, [](uint64) { return true; }, [&](uint64 j) { candidates.push_back(j); });
        return candidates;
    };
    for (const bool pushed : {true, false}) {
        WidenedBall balls[2] = {{{0, 0, 0}, 1e160}, {{1e162, 0, 0}, 1e160}};
        WidenedBox boxes[2] = {boxOf(balls[0]), boxOf(balls[1])};
        BroadPhase broadPhase;
        broadPhase.build(boxes, balls, active, 2);
        ASSERT_EQ(candidatesOfFirst(broadPhase), std::vector<uint64>{}) << "apart at first";
        balls[0].centre[0] = 1e162;
        boxes[0] = boxOf(balls[0]);
        if (pushed) {
            WidenedBall within = balls[0];
            if (!broadPhase.movedWithinRoom(0, within))
                broadPhase.movedSphere(0, balls[0]);
        } else {
            broadPhase.build(boxes, balls, active, 2);
        }
        EXPECT_EQ(candidatesOfFirst(broadPhase), std::vector<uint64>{1})
            << (pushed ? "pushed" : "in the next stage");
    }
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
std::vector<unsigned char> runNested(PairFinder finder) {
    World world(finder);
    auto* other = new Scene3D<double>();
    const auto addSphere = [](Scene3D<double>* scene, double x, double y) {
        auto* element = new Element3D<double>(ElementKind::Sphere);
        element->transform().position = {x, y, -1};
        element->shape() = {0.5, 0};
        auto* collision = new Collision3DAttribute<double>();
        collision->setEventParent(0);
        element->setPhysicsAttribute(2, collision);
        collision->release();
        auto* body = new RigidBody3DAttribute<double>();
        element->setPhysicsAttribute(1, body);
        body->release();
        scene->addElement(element);
        element->release();
        return body;
    };
    std::vector<RigidBody3DAttribute<double>*> bodies;
    for (int i = 0; i < 40; ++i)
        bodies.push_back(addSphere(world.scene, 0.9 * (i % 5), 0.9 * (i / 5)));
    for (int i = 0; i < 3; ++i)
        addSphere(other, 0.8 * i, 0);
    other->updateView();
    g_engine = world.engine;
    g_scenes[0] = world.scene;
    g_scenes[1] = other;
    g_nested = false;
    world.engine->setCollisionCallbackDouble(&stepOtherScene);
    world.step(1.0 / 60, false);
    other->release();
    std::vector<unsigned char> state;
    for (auto* body : bodies) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(&body->getLinearSpeed());
        state.insert(state.end(), bytes, bytes + sizeof(Vector3<double>));
    }
    return state;
}

// Two engines of one process, one finding pairs with the grid and one asking every pair, stepped
// in turn: each keeps to its own way, and they end in the same state.
TEST(PairBounds, TwoEnginesFindPairsEachTheirOwnWay) {
    test::TestApplicationData record{&HostObject::create, &HostPhysicsAttribute::create};
    World grid(PairFinder::Grid, Asked::DeclaredSkin), all(PairFinder::AllPairs, Asked::DeclaredSkin);
    std::vector<RigidBody3DAttribute<double>*> bodies;
    for (World* world : {&grid, &all})
        for (int i = 0; i < 12; ++i) {
            auto* element = new Element3D<double>(ElementKind::Sphere);
            element->transform().position = {0.98 * i, 0.1 * (i % 3), 0};
            element->shape() = {0.5, 0};
            auto* body = new RigidBody3DAttribute<double>();
            body->setLinearSpeed({i % 2 == 0 ? 1.0 : -1.0, 0, 0});
            bodies.push_back(body);
            world->add(element, body);
        }
    for (int step = 0; step < 10; ++step) {
        grid.step(1.0 / 60, true);
        all.step(1.0 / 60, true);
    }
    for (std::size_t i = 0; i < 12; ++i)
        EXPECT_EQ(std::memcmp(&bodies[i]->getLinearSpeed(), &bodies[12 + i]->getLinearSpeed(),
                              sizeof(Vector3<double>)),
                  0);
    EXPECT_LT(grid.skin->askedCount * 2, all.skin->askedCount);
    EXPECT_EQ(getPairFinder(*grid.engine), PairFinder::Grid);
}

TEST(PairBounds, GiveTheSameBitsAsAskingTheDetectorAboutEveryPair) {
    test::TestApplicationData record{&HostObject::create, &HostPhysicsAttribute::create};
    zor_addObjectAllocator<HostCollisionDetector<double>>();
    constexpr PairFinder kGrid = PairFinder::Grid, kAllPairs = PairFinder::AllPairs;
    EXPECT_EQ(runPush(kGrid), runPush(kAllPairs));
    EXPECT_EQ(runFarWall(kGrid), runFarWall(kAllPairs)) << "a face's far corners widen the reach";
    EXPECT_EQ(runNested(kGrid), runNested(kAllPairs)) << "a stage run inside another keeps to its own pairs";
    // A detector that declares nothing is asked, with the grid chosen, exactly what the defined
    // order asks.
    for (const Asked asked : {Asked::Host, Asked::DeclaredSkin, Asked::UndeclaredSkin})
        for (unsigned seed = 1; seed <= 200; ++seed)
            ASSERT_EQ(runScene(seed, kGrid, asked), runScene(seed, kAllPairs, asked))
                << "seed " << seed << ", detector " << int(asked);
}

} // namespace
} // namespace zor
