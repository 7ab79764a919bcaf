// The collision stage through the engine, on the reference host's scenes and its collision
// detector, in float and in double.

#include "support/EngineOnScene.h"
#include "support/ExitOutput.h"
#include "support/LogLines.h"
#include "support/SkinDetector.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace zor {
namespace {

using test::physicsWarning;
using Lines = std::vector<std::string>;

template <typename T>
struct Colliding : test::HostRecord, test::EngineScene<T> {
    /// One collision stage of `dt` without movements; whether a contact is pending.
    bool collide(double dt = 0.5) { return this->step(dt, false); }
    /// Puts in a detector with the host's geometry that declares no reach, so that it is asked
    /// about every face around a shape, and keeps the faces.
    std::vector<std::array<Vector3<T>, 4>>& askEveryFace() {
        auto* skin = new test::SkinDetector<T>(0, -1);
        this->engine->template collisionDetector<T>() = skin;
        return skin->faces;
    }
};

template <typename T>
struct CollisionStage : testing::Test, Colliding<T> {};
using NumberTypes = testing::Types<float, double>;
TYPED_TEST_SUITE(CollisionStage, NumberTypes);

// What the pair callback was told: the two elements and the depth of each contact, and whether
// one of them was static. It answers `accept`.
template <typename T>
struct Reported {
    static inline std::vector<IElement*> elements;
    static inline std::vector<T> depths;
    static inline std::vector<bool> staticPartner;
    static inline bool accept = true;
    static void clear(bool answer) {
        elements.clear(), depths.clear(), staticPartner.clear();
        accept = answer;
    }
    static bool callback(IElement*, IElement* first, Collision3DAttribute<T>*,
                         RigidBody3DAttribute<T>* firstBody, IElement*, IElement* second,
                         Collision3DAttribute<T>*, RigidBody3DAttribute<T>* secondBody, Vector3<T>*,
                         T depth) {
        elements.insert(elements.end(), {first, second});
        depths.push_back(depth);
        staticPartner.push_back(firstBody == nullptr || secondBody == nullptr);
        return accept;
    }
};

// A capsule 2 high reaches from y = -1 to 1; a sphere of radius 0.5 scaled twice along x reaches
// 1: each of the two spheres beside the capsule sinks 0.1 into it, and into it only.
TYPED_TEST(CollisionStage, PrimitivesTakeTheirShapeFromTheWorldMatrix) {
    using T = TypeParam;
    using R = Reported<T>;
    R::clear(false);
    this->setCallbacks(&R::callback, nullptr);
    Element3D<T>* capsule = this->add(ElementKind::Capsule, {0, 0, 0}, T(0.5), T(2));
    Element3D<T>* wide = this->add(ElementKind::Sphere, {T(1.4), 0, 0}, T(0.5));
    wide->scale() = {2, 1, 1};
    Element3D<T>* above = this->add(ElementKind::Sphere, {0, T(1.9), 0}, T(0.5));
    this->collide();
    EXPECT_EQ(R::elements, (std::vector<IElement*>{capsule, wide, capsule, above}));
    ASSERT_EQ(R::depths.size(), 2u);
    EXPECT_NEAR(R::depths[0], T(0.1), 1e-5);
    EXPECT_NEAR(R::depths[1], T(0.1), 1e-5);
}

TYPED_TEST(CollisionStage, HeadOnSpheresExchangeSpeedsAndAnEmptySceneHasNothingPending) {
    using T = TypeParam;
    EXPECT_FALSE(this->collide());
    auto* left = this->addBody(ElementKind::Sphere, {T(-0.4995), 0, 0}, T(0.5));
    auto* right = this->addBody(ElementKind::Sphere, {T(0.4995), 0, 0}, T(0.5));
    left->setLinearSpeed({1, 0, 0});
    right->setLinearSpeed({-1, 0, 0});
    this->collide();
    EXPECT_EQ(left->getLinearSpeed(), (Vector3<T>{-1, 0, 0}));
    EXPECT_EQ(right->getLinearSpeed(), (Vector3<T>{1, 0, 0}));
}

TYPED_TEST(CollisionStage, TheCallbackSeesEveryContactAndRejectedOrStaticOnesChangeNothing) {
    using T = TypeParam;
    using R = Reported<T>;
    R::clear(false);
    this->setCallbacks(&R::callback, nullptr);
    auto* moving = this->addBody(ElementKind::Sphere, {0, 0, 0}, T(0.5));
    moving->setLinearSpeed({1, 0, 0});
    this->addBody(ElementKind::Sphere, {T(0.9), 0, 0}, T(0.5));
    EXPECT_FALSE(this->collide()) << "a rejected contact does not count";
    EXPECT_EQ(moving->getLinearSpeed(), (Vector3<T>{1, 0, 0}));
    EXPECT_EQ(R::staticPartner, (std::vector<bool>{false}));

    R::clear(true);
    this->add(ElementKind::Sphere, {T(-0.9), 0, 0}, T(0.5));
    this->collide();
    EXPECT_EQ(R::staticPartner, (std::vector<bool>{false, true, false, true, false, true, false, true}))
        << "four passes, each with the pair and the static contact";
    EXPECT_EQ(moving->getLinearSpeed(), (Vector3<T>{0, 0, 0})) << "only the rigid pair responded";
}

// A body carries the primitives of its children: the push one child takes moves the other out of
// the contact it had.
TYPED_TEST(CollisionStage, ABodyCarriesEveryPrimitiveOfItsChildren) {
    using T = TypeParam;
    using R = Reported<T>;
    R::clear(true);
    this->setCallbacks(&R::callback, nullptr);
    auto* body = new Element3D<T>(ElementKind::Sphere);
    auto* rigid = new RigidBody3DAttribute<T>();
    body->setPhysicsAttribute(1, rigid);
    rigid->release();
    this->scene->addElement(body);
    Element3D<T>* children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = new Element3D<T>(ElementKind::Sphere);
        children[c]->transform().position = {T(3 * c), 0, 0};
        children[c]->shape() = {T(0.5), 0};
        auto* collision = new Collision3DAttribute<T>();
        collision->setEventParent(1);
        children[c]->setPhysicsAttribute(2, collision);
        collision->release();
        this->scene->addElement(children[c], body);
        children[c]->release();
    }
    Element3D<T>* pushing;
    Element3D<T>* left; // touched by the second child until the first one's push
    this->addBody(ElementKind::Sphere, {T(0.9), 0, 0}, T(0.5), 0, &pushing)->setInfiniteMass(true);
    this->addBody(ElementKind::Sphere, {T(3.995), 0, 0}, T(0.5), 0, &left)->setInfiniteMass(true);
    this->collide();
    EXPECT_NEAR(body->transform().position.x, T(-0.099), T(1e-4));
    ASSERT_GE(R::elements.size(), 2u);
    EXPECT_EQ(R::elements[0], children[0]);
    EXPECT_EQ(R::elements[1], pushing);
    EXPECT_EQ(std::count(R::elements.begin(), R::elements.end(), left), 0);
    body->release();
}

TYPED_TEST(CollisionStage, BodiesOfOneExclusionGroupPassThroughEachOtherOthersStayPending) {
    using T = TypeParam;
    auto* first = this->addBody(ElementKind::Sphere, {0, 0, 0}, T(0.5));
    auto* second = this->addBody(ElementKind::Sphere, {T(0.5), 0, 0}, T(0.5));
    first->setExclusionGroup(3);
    second->setExclusionGroup(3);
    EXPECT_FALSE(this->collide());
    second->setExclusionGroup(0);
    this->scene->raiseGeneration();
    EXPECT_TRUE(this->collide()) << "the slop leaves a resting overlap in every one of the four passes";
}

TYPED_TEST(CollisionStage, AdditionalFrictionTakesItsShareOfTheStepOffTheSpeed) {
    using T = TypeParam;
    const T speeds[][2] = {{3, 2}, {1, 1}, {T(0.5), T(0.5)}}; // before and after
    std::vector<RigidBody3DAttribute<T>*> bodies;
    for (int i = 0; i < 3; ++i) {
        bodies.push_back(this->addBody(ElementKind::Sphere, {T(10 * i), 0, 0}, T(0.5)));
        bodies.back()->setAdditionalFriction(2);
        bodies.back()->setLinearSpeed({0, 0, speeds[i][0]});
    }
    this->collide(0.5);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(bodies[i]->getLinearSpeed(), (Vector3<T>{0, 0, speeds[i][1]})) << i;
}

// A ball dropped from 1 m onto a tile-map floor with half its speed given back rises to about a
// quarter of that height, and never sinks through the floor.
TYPED_TEST(CollisionStage, ABallBouncesOffAGridStageFloor) {
    using T = TypeParam;
    GridTile<T> tile = test::floorTile<T>();
    GridStage<T>* stage = test::stageOf(4, 4, tile, true);
    auto* floorBody = new RigidBody3DAttribute<T>();
    floorBody->setInfiniteMass(true);
    floorBody->setRestitutionFactor(T(0.5));
    stage->tiles()[0].floorRigidBody = stage->rigidBodyAttributes().add(floorBody);
    floorBody->release();
    this->add(stage);
    this->scene->setGravity(9.81);
    Element3D<T>* ball;
    auto* body = this->addBody(ElementKind::Sphere, {2, T(1.25), -2}, T(0.25), 0, &ball);
    body->setRestitutionFactor(T(0.5));
    T lowest = 10, highestAfterBounce = 0;
    bool bounced = false;
    for (int step = 0; step < 240; ++step) {
        this->step(1.0 / 240);
        const T height = ball->transform().position.y - T(0.25);
        lowest = std::min(lowest, height);
        bounced = bounced || body->getLinearSpeed().y > 0;
        if (bounced)
            highestAfterBounce = std::max(highestAfterBounce, height);
    }
    EXPECT_GT(lowest, T(-0.02));
    EXPECT_NEAR(highestAfterBounce, T(0.25), T(0.03));
}

// What the grid-stage callback was called for: the bodies and the face kinds. It does `action`
// at each call and rejects the contact.
template <typename T>
struct FaceCalls {
    static inline std::vector<IElement*> bodies;
    static inline std::vector<uint32> faces;
    static inline std::function<void()> action;
    static void clear(std::function<void()> then) {
        bodies.clear(), faces.clear();
        action = std::move(then);
    }
    static bool callback(IElement* body, IElement*, Collision3DAttribute<T>*, RigidBody3DAttribute<T>*,
                         IObject*, Collision3DAttribute<T>*, RigidBody3DAttribute<T>*, uint32, uint32 face,
                         uint32, Vector3<T>*, T) {
        bodies.push_back(body);
        faces.push_back(face);
        action();
        return false;
    }
};

// What the grid-stage callback changes in a stage holds for the next body tested against it.
TYPED_TEST(CollisionStage, AFloorRaisedByTheCallbackMeetsTheNextBody) {
    using T = TypeParam;
    GridStage<T>* stage = test::stageOf(4, 4, test::floorTile<T>(), true);
    FaceCalls<T>::clear([stage] { stage->tiles()[0].floorHeight = 1; });
    this->add(stage);
    this->setCallbacks(nullptr, &FaceCalls<T>::callback);
    Element3D<T>* sunk;
    Element3D<T>* above; // out of reach of the floor until it rises
    this->addBody(ElementKind::Sphere, {1, T(0.4), -1}, T(0.5), 0, &sunk);
    this->addBody(ElementKind::Sphere, {3, T(1.3), -3}, T(0.5), 0, &above);
    this->collide();
    // The sunk body is then behind the raised floor; the one above meets it in its four cells.
    EXPECT_EQ(FaceCalls<T>::bodies, (std::vector<IElement*>{sunk, above, above, above, above}));
}

// A floor raised by the pair callback meets a body whose test found nothing before it rose, in the
// next pass: the stage passes over a test made again only while the grid stages are unchanged.
TYPED_TEST(CollisionStage, AFloorRaisedByThePairCallbackMeetsABodyTestedBefore) {
    using T = TypeParam;
    static GridStage<T>* stage;
    stage = test::stageOf(4, 4, test::floorTile<T>(), true);
    auto* floorBody = new RigidBody3DAttribute<T>();
    floorBody->setInfiniteMass(true);
    stage->tiles()[0].floorRigidBody = stage->rigidBodyAttributes().add(floorBody);
    floorBody->release();
    this->add(stage);
    this->setCallbacks(
        [](IElement*, IElement*, Collision3DAttribute<T>*, RigidBody3DAttribute<T>*, IElement*, IElement*,
           Collision3DAttribute<T>*, RigidBody3DAttribute<T>*, Vector3<T>*, T) {
            stage->tiles()[0].floorHeight = T(0.3);
            return true;
        },
        nullptr);
    // Out of reach of the floor, but not far enough to be passed over.
    Element3D<T>* above;
    this->addBody(ElementKind::Sphere, {1, T(0.6), -1}, T(0.5), 0, &above);
    // A pair high above the floor whose contact raises it.
    this->addBody(ElementKind::Sphere, {3, 3, -3}, T(0.5));
    this->addBody(ElementKind::Sphere, {T(3.8), 3, -3}, T(0.5));
    this->collide();
    EXPECT_GT(above->transform().position.y, T(0.75));
}

// The faces of a tile tested after the callback has grown the tiles far past their room (moving
// them elsewhere) are read where they are now.
TYPED_TEST(CollisionStage, TheCallbackMayMoveTheTilesOfTheTileUnderTest) {
    using T = TypeParam;
    GridTile<T> tile = test::floorTile<T>();
    tile.ceilingHeight = 2;
    tile.sides[0].sidePresent = tile.sides[0].middlePresent = 1;
    tile.sides[0].middleCollision = tile.sides[0].middleRigidBody = kNoGridAttribute;
    GridStage<T>* stage = test::stageOf(1, 1, tile, true);
    FaceCalls<T>::clear([stage] {
        if (FaceCalls<T>::faces.size() == 1)
            for (int i = 0; i < 1000; ++i)
                stage->tiles().pushBack(GridTile<T>{});
    });
    this->add(stage);
    this->setCallbacks(nullptr, &FaceCalls<T>::callback);
    // On the floor, against the wall at x = 1 that faces +x.
    this->addBody(ElementKind::Sphere, {T(1.2), T(0.4), T(-0.5)}, T(0.5));
    this->collide();
    EXPECT_EQ(FaceCalls<T>::faces, (std::vector<uint32>{0, 2}));
}

// A face naming attributes of the wrong class is reported at every look-up, for each body, each
// cell and each pass: what the stage holds is only kept when it was found.
TYPED_TEST(CollisionStage, AFaceAttributeOfAnotherClassIsReportedEachTimeItIsLookedUp) {
    using T = TypeParam;
    GridStage<T>* stage = test::stageOf(2, 1, test::floorTile<T>(), true);
    auto* body = new RigidBody3DAttribute<T>();
    auto* collision = new Collision3DAttribute<T>();
    stage->tiles()[0].floorCollision = stage->collisionAttributes().add(body);
    stage->tiles()[0].floorRigidBody = stage->rigidBodyAttributes().add(collision);
    body->release();
    collision->release();
    this->add(stage);
    // One body lies over both cells, out of reach; a pair left of the map, each over the first
    // cell, stays in contact through the four passes.
    this->addBody(ElementKind::Sphere, {1, T(3), T(-0.5)}, T(0.5));
    this->addBody(ElementKind::Sphere, {-5, T(3), T(-0.5)}, T(0.5));
    this->addBody(ElementKind::Sphere, {T(-4.2), T(3), T(-0.5)}, T(0.5));
    this->collide();
    const Lines pair = {physicsWarning("zor::PhysicsEngine3D::getGridStageCollision3D",
                                       "Physics attribute for collisions is not Collision3DAttribute"),
                        physicsWarning("zor::PhysicsEngine3D::getGridStageRigidBody3D",
                                       "Physics attribute for rigid bodies is not RigidBody3DAttribute")};
    Lines expected;
    for (int lookUp = 0; lookUp < 4 * 4; ++lookUp)
        expected.insert(expected.end(), pair.begin(), pair.end());
    EXPECT_EQ(test::logLines(this->record), expected);
}

// A body left of the map is clamped to column 0; a cell naming the last tile finds it, one past
// the tiles is passed over, and a wall segment of no height is never tried. The detector
// declares no reach: the faces out of reach are asked about too.
TYPED_TEST(CollisionStage, GridStagesVisitTheClampedCellsFacesInOrder) {
    using T = TypeParam;
    using V = Vector3<T>;
    GridTile<T> plain{}, walled{};
    plain.floorPresent = walled.floorPresent = 1;
    walled.sides[0].sidePresent = 1;
    walled.sides[0].middlePresent = 1; // floor and ceiling both at 0: no height
    walled.sides[0].lowerPresent = 1;
    walled.sides[0].lowerHeight = 1;
    GridStage<T>* stage = test::stageOf(2, 1, plain, false);
    stage->tiles().pushBack(walled);
    stage->cells()[0] = 2;
    stage->cells()[1] = 3;
    this->add(stage);
    this->addBody(ElementKind::Sphere, {-5, T(0.5), T(-0.5)}, T(0.5));
    const auto& faces = this->askEveryFace();
    this->collide();
    const std::vector<std::array<V, 4>> expected = {
        {{{0, 0, -1}, {0, 0, 0}, {1, 0, 0}, {1, 0, -1}}}, // floor
        {{{1, 0, -1}, {1, 1, -1}, {1, 1, 0}, {1, 0, 0}}}, // side 0, lower segment, facing +x
    };
    EXPECT_EQ(faces, expected);
}

// In float the index of the last of 2^24 + 2 columns rounds down to 2^24: a body whose reach
// begins at 2^24 must still be tested against column 2^24, not only against the last one.
TEST(CollisionStageFloat, ColumnsPast2To24AreFoundInTheStagesNumbers) {
    Colliding<float> world;
    constexpr uint32 columns = (1u << 24) + 2;
    GridStage<float>* stage = test::stageOf(columns, 1, test::floorTile<float>(), false);
    stage->cells()[columns - 2] = 1;
    world.add(stage);
    world.addBody(ElementKind::Sphere, {16777218.f, 0.f, -0.5f}, 2.f); // reaching from x = 2^24
    const auto& faces = world.askEveryFace();
    world.collide();
    ASSERT_FALSE(faces.empty());
    EXPECT_EQ(faces[0][0].x, 16777216.f);
}

// A stage too large to be compared from step to step is read anew at each: a floor laid under a
// body between two steps is met at the second.
TEST(CollisionStageLarge, AStageOfMoreThan65536CellsIsReadAgainEachStep) {
    Colliding<double> world;
    GridStage<double>* stage = test::stageOf(300, 300, test::floorTile<double>(), false);
    stage->retain();
    world.add(stage);
    world.addBody(ElementKind::Sphere, {150.5, 0.25, -150.5}, 0.25);
    const auto& faces = world.askEveryFace();
    world.collide();
    EXPECT_TRUE(faces.empty());
    stage->cells()[150 * 300 + 150] = 1;
    world.collide();
    EXPECT_FALSE(faces.empty());
    stage->release();
}

// A null entry of the grid stages ends the process once the stages in front of it are tested.
TYPED_TEST(CollisionStage, ANullGridStageEndsTheProcessAfterTheStagesBeforeIt) {
    using T = TypeParam;
    this->add(test::stageOf(1, 1, test::floorTile<T>(), true));
    this->scene->addGridStage(nullptr);
    FaceCalls<T>::clear([] { std::printf("face %u\n", FaceCalls<T>::faces.back()); });
    this->setCallbacks(nullptr, &FaceCalls<T>::callback);
    this->addBody(ElementKind::Sphere, {T(0.5), T(0.4), T(-0.5)}, T(0.5));
    this->record.m_consoleEcho = true;
    EXPECT_EQ(test::outputOfExit([&] { this->collide(); }), "face 0\nERROR: assert(*it != NULL)\n");
}

} // namespace
} // namespace zor
