// The collision stage through the engine, on the reference host's scenes and its collision
// detector, in float and in double.

#include "host/detector/HostCollisionDetector.h"
#include "host/project/HostPhysicsAttribute.h"
#include "host/scene3d/GridStage.h"
#include "host/scene3d/Scene3D.h"
#include "physics/attributes/Collision3DAttribute.h"
#include "physics/attributes/RigidBody3DAttribute.h"
#include "physics/engine3d/PhysicsEngine3D.h"
#include "physics/engine3d/collision/CollisionPrimitive.h"
#include "physics/engine3d/collision/SceneCollisions.h"
#include "support/EngineOnScene.h"
#include "support/ExitOutput.h"
#include "support/LogLines.h"

#include "common/object/ObjectFactory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace zor {
namespace {

using test::physicsWarning;
using test::TestApplicationData;
using Lines = std::vector<std::string>;

// An engine stepping a scene of its own, on a host record whose factory makes `Detector`s.
template <typename T, typename Detector = HostCollisionDetector<T>>
struct CollidingScene {
    using Body = RigidBody3DAttribute<T>;
    using V = Vector3<T>;

    TestApplicationData record{&HostObject::create, &HostPhysicsAttribute::create};
    PhysicsEngine3D* engine;
    Scene3D<T>* scene = new Scene3D<T>();

    CollidingScene() {
        zor_addObjectAllocator<Detector>();
        engine = test::engineOn(scene);
    }
    ~CollidingScene() {
        engine->release();
        scene->release();
    }

    /// A new colliding element of the scene; with a rigid body unless `rigid` is false. The
    /// scene owns it; the rigid body (or null) is returned.
    Body* add(ElementKind kind, const V& position, T radius, bool rigid = true,
              Element3D<T>** out = nullptr) {
        auto* element = new Element3D<T>(kind);
        element->transform().position = position;
        element->shape() = {radius, T(2)};
        auto* collision = new Collision3DAttribute<T>();
        collision->setEventParent(0);
        element->setPhysicsAttribute(2, collision);
        collision->release();
        Body* body = nullptr;
        if (rigid) {
            body = new Body();
            element->setPhysicsAttribute(1, body);
            body->release();
        }
        scene->addElement(element);
        if (out != nullptr)
            *out = element;
        element->release();
        return body;
    }
    /// One collision stage at step length `dt`; the result of updateCollisions' pending flag.
    bool collide(double dt = 0.5) {
        scene->updateView();
        EXPECT_TRUE(engine->beginIteration(dt));
        bool pending = false;
        EXPECT_TRUE(engine->updateCollisions(&pending));
        engine->endIteration();
        return pending;
    }
};

template <typename T>
struct CollisionStage : testing::Test, CollidingScene<T> {};
using NumberTypes = testing::Types<float, double>;
TYPED_TEST_SUITE(CollisionStage, NumberTypes);

TYPED_TEST(CollisionStage, PrimitivesTakeTheirShapeFromTheWorldMatrix) {
    using T = TypeParam;
    Element3D<T>* capsule;
    Element3D<T>* sphere;
    this->add(ElementKind::Capsule, {0, 0, 0}, T(0.5), true, &capsule);
    this->add(ElementKind::Sphere, {5, 0, 0}, T(0.5), true, &sphere);
    sphere->scale() = {2, 1, 1};
    this->scene->updateView();
    BroadPhase broadPhase;
    CollisionPrimitives<T> primitives(broadPhase);
    primitives.build(*this->scene, 0);
    ASSERT_EQ(primitives.size(), 2u);
    EXPECT_TRUE(primitives[0].active);
    EXPECT_EQ(primitives[0].pointA, (Vector3<T>{0, -1, 0}));
    EXPECT_EQ(primitives[0].pointB, (Vector3<T>{0, 1, 0}));
    EXPECT_EQ(primitives[0].radius, T(0.5));
    EXPECT_EQ(primitives[1].pointA, (Vector3<T>{5, 0, 0}));
    EXPECT_EQ(primitives[1].radius, T(1)) << "twice the radius along a doubled x";
}

TYPED_TEST(CollisionStage, HeadOnSpheresExchangeSpeedsAndAnEmptySceneHasNothingPending) {
    using T = TypeParam;
    EXPECT_FALSE(this->collide());
    auto* left = this->add(ElementKind::Sphere, {T(-0.4995), 0, 0}, T(0.5));
    auto* right = this->add(ElementKind::Sphere, {T(0.4995), 0, 0}, T(0.5));
    left->setLinearSpeed({1, 0, 0});
    right->setLinearSpeed({-1, 0, 0});
    this->collide();
    EXPECT_EQ(left->getLinearSpeed(), (Vector3<T>{-1, 0, 0}));
    EXPECT_EQ(right->getLinearSpeed(), (Vector3<T>{1, 0, 0}));
}

// What the pair callback was told.
template <typename T>
struct Reported {
    static inline std::vector<bool> staticPartner;
    static inline bool accept = false;
    static bool callback(IElement*, IElement*, Collision3DAttribute<T>*, RigidBody3DAttribute<T>* first,
                         IElement*, IElement*, Collision3DAttribute<T>*, RigidBody3DAttribute<T>* second,
                         Vector3<T>*, T) {
        staticPartner.push_back(first == nullptr || second == nullptr);
        return accept;
    }
};

TYPED_TEST(CollisionStage, TheCallbackSeesEveryContactAndRejectedOrStaticOnesChangeNothing) {
    using T = TypeParam;
    using R = Reported<T>;
    R::staticPartner.clear();
    R::accept = false;
    if constexpr (sizeof(T) == 4)
        this->engine->setCollisionCallbackFloat(&R::callback);
    else
        this->engine->setCollisionCallbackDouble(&R::callback);
    auto* moving = this->add(ElementKind::Sphere, {0, 0, 0}, T(0.5));
    moving->setLinearSpeed({1, 0, 0});
    this->add(ElementKind::Sphere, {T(0.9), 0, 0}, T(0.5));
    EXPECT_FALSE(this->collide()) << "a rejected contact does not count";
    EXPECT_EQ(moving->getLinearSpeed(), (Vector3<T>{1, 0, 0}));
    EXPECT_EQ(R::staticPartner, (std::vector<bool>{false}));

    R::staticPartner.clear();
    R::accept = true;
    this->add(ElementKind::Sphere, {T(-0.9), 0, 0}, T(0.5), false);
    this->collide();
    EXPECT_EQ(R::staticPartner, (std::vector<bool>{false, true, false, true, false, true, false, true}))
        << "four passes, each with the pair and the static contact";
    EXPECT_EQ(moving->getLinearSpeed(), (Vector3<T>{0, 0, 0})) << "only the rigid pair responded";
}

// Records the elements of each contact reported.
template <typename T>
struct Touching {
    static inline std::vector<IElement*> elements;
    static bool record(IElement*, IElement* first, Collision3DAttribute<T>*, RigidBody3DAttribute<T>*,
                       IElement*, IElement* second, Collision3DAttribute<T>*, RigidBody3DAttribute<T>*,
                       Vector3<T>*, T) {
        elements.insert(elements.end(), {first, second});
        return true;
    }
};

// A body carries the primitives of its children: the push one child takes moves the other out of
// the contact it had.
TYPED_TEST(CollisionStage, ABodyCarriesEveryPrimitiveOfItsChildren) {
    using T = TypeParam;
    Touching<T>::elements.clear();
    if constexpr (sizeof(T) == 4)
        this->engine->setCollisionCallbackFloat(&Touching<T>::record);
    else
        this->engine->setCollisionCallbackDouble(&Touching<T>::record);
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
    this->add(ElementKind::Sphere, {T(0.9), 0, 0}, T(0.5), true, &pushing)->setInfiniteMass(true);
    this->add(ElementKind::Sphere, {T(3.995), 0, 0}, T(0.5), true, &left)->setInfiniteMass(true);
    this->collide();
    EXPECT_NEAR(body->transform().position.x, T(-0.099), T(1e-4));
    ASSERT_GE(Touching<T>::elements.size(), 2u);
    EXPECT_EQ(Touching<T>::elements[0], children[0]);
    EXPECT_EQ(Touching<T>::elements[1], pushing);
    EXPECT_EQ(std::count(Touching<T>::elements.begin(), Touching<T>::elements.end(), left), 0);
    body->release();
}

TYPED_TEST(CollisionStage, BodiesOfOneExclusionGroupPassThroughEachOtherOthersStayPending) {
    using T = TypeParam;
    auto* first = this->add(ElementKind::Sphere, {0, 0, 0}, T(0.5));
    auto* second = this->add(ElementKind::Sphere, {T(0.5), 0, 0}, T(0.5));
    first->setExclusionGroup(3);
    second->setExclusionGroup(3);
    EXPECT_FALSE(this->collide());
    second->setExclusionGroup(0);
    EXPECT_TRUE(this->collide()) << "the slop leaves a resting overlap in every one of the four passes";
}

TYPED_TEST(CollisionStage, AdditionalFrictionTakesItsShareOfTheStepOffTheSpeed) {
    using T = TypeParam;
    struct Case {
        T speed, expected;
    } const cases[] = {{3, 2}, {1, 1}, {T(0.5), T(0.5)}};
    std::vector<RigidBody3DAttribute<T>*> bodies;
    for (int i = 0; i < 3; ++i) {
        bodies.push_back(this->add(ElementKind::Sphere, {T(10 * i), 0, 0}, T(0.5)));
        bodies.back()->setAdditionalFriction(2);
        bodies.back()->setLinearSpeed({0, 0, cases[i].speed});
    }
    this->collide(0.5);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(bodies[i]->getLinearSpeed(), (Vector3<T>{0, 0, cases[i].expected})) << i;
}

// A ball dropped from 1 m onto a tile-map floor with half its speed given back rises to about a
// quarter of that height, and never sinks through the floor.
TYPED_TEST(CollisionStage, ABallBouncesOffAGridStageFloor) {
    using T = TypeParam;
    auto* stage = new GridStage<T>(4, 4, 1, 1);
    GridTile<T> tile{};
    tile.floorPresent = 1;
    tile.floorCollision = kNoGridAttribute;
    auto* floorBody = new RigidBody3DAttribute<T>();
    floorBody->setInfiniteMass(true);
    floorBody->setRestitutionFactor(T(0.5));
    tile.floorRigidBody = stage->rigidBodyAttributes().add(floorBody);
    floorBody->release();
    stage->tiles().pushBack(tile);
    for (uint32& cell : stage->cells())
        cell = 1;
    this->scene->addGridStage(stage);
    stage->release();
    this->scene->setGravity(9.81);
    Element3D<T>* ball;
    auto* body = this->add(ElementKind::Sphere, {2, T(1.25), -2}, T(0.25), true, &ball);
    body->setRestitutionFactor(T(0.5));
    T lowest = 10, highestAfterBounce = 0;
    bool bounced = false;
    for (int step = 0; step < 240; ++step) {
        this->scene->updateView();
        ASSERT_TRUE(this->engine->beginIteration(1.0 / 240));
        this->engine->updateMovements();
        this->collide(1.0 / 240);
        const T height = ball->transform().position.y - T(0.25);
        lowest = std::min(lowest, height);
        bounced = bounced || body->getLinearSpeed().y > 0;
        if (bounced)
            highestAfterBounce = std::max(highestAfterBounce, height);
    }
    EXPECT_GT(lowest, T(-0.02));
    EXPECT_NEAR(highestAfterBounce, T(0.25), T(0.03));
}

// Records the bodies it is called for, raises the floor of tile 0 to 1 and rejects the contact.
template <typename T>
struct FloorRaiser {
    static inline GridStage<T>* stage = nullptr;
    static inline std::vector<IElement*> bodies;
    static bool raise(IElement* body, IElement*, Collision3DAttribute<T>*, RigidBody3DAttribute<T>*, IObject*,
                      Collision3DAttribute<T>*, RigidBody3DAttribute<T>*, uint32, uint32, uint32, Vector3<T>*,
                      T) {
        bodies.push_back(body);
        stage->tiles()[0].floorHeight = 1;
        return false;
    }
};

// What the grid-stage callback changes in a stage holds for the next body tested against it.
TYPED_TEST(CollisionStage, AFloorRaisedByTheCallbackMeetsTheNextBody) {
    using T = TypeParam;
    auto* stage = new GridStage<T>(4, 4, 1, 1);
    GridTile<T> tile{};
    tile.floorPresent = 1;
    tile.floorCollision = tile.floorRigidBody = kNoGridAttribute;
    stage->tiles().pushBack(tile);
    for (uint32& cell : stage->cells())
        cell = 1;
    this->scene->addGridStage(stage);
    FloorRaiser<T>::stage = stage;
    FloorRaiser<T>::bodies.clear();
    stage->release();
    if constexpr (sizeof(T) == 4)
        this->engine->setGridStageCollisionCallbackFloat(&FloorRaiser<T>::raise);
    else
        this->engine->setGridStageCollisionCallbackDouble(&FloorRaiser<T>::raise);
    Element3D<T>* sunk;
    Element3D<T>* above; // out of reach of the floor until it rises
    this->add(ElementKind::Sphere, {1, T(0.4), -1}, T(0.5), true, &sunk);
    this->add(ElementKind::Sphere, {3, T(1.3), -3}, T(0.5), true, &above);
    this->collide();
    // The sunk body is then behind the raised floor; the one above meets it in its four cells.
    EXPECT_EQ(FloorRaiser<T>::bodies, (std::vector<IElement*>{sunk, above, above, above, above}));
}

// Grows the stage's tiles far past their room at its first call: the tiles move elsewhere.
template <typename T>
struct TileGrower {
    static inline GridStage<T>* stage = nullptr;
    static inline std::vector<uint32> faces;
    static bool grow(IElement*, IElement*, Collision3DAttribute<T>*, RigidBody3DAttribute<T>*, IObject*,
                     Collision3DAttribute<T>*, RigidBody3DAttribute<T>*, uint32, uint32 face, uint32,
                     Vector3<T>*, T) {
        if (faces.empty())
            for (int i = 0; i < 1000; ++i)
                stage->tiles().pushBack(GridTile<T>{});
        faces.push_back(face);
        return false;
    }
};

// The faces of a tile tested after the callback has moved the tiles are read where they are now.
TYPED_TEST(CollisionStage, TheCallbackMayMoveTheTilesOfTheTileUnderTest) {
    using T = TypeParam;
    auto* stage = new GridStage<T>(1, 1, 1, 1);
    GridTile<T> tile{};
    tile.floorPresent = 1;
    tile.floorCollision = tile.floorRigidBody = kNoGridAttribute;
    tile.ceilingHeight = 2;
    tile.sides[0].sidePresent = tile.sides[0].middlePresent = 1;
    tile.sides[0].middleCollision = tile.sides[0].middleRigidBody = kNoGridAttribute;
    stage->tiles().pushBack(tile);
    stage->cells()[0] = 1;
    this->scene->addGridStage(stage);
    TileGrower<T>::stage = stage;
    TileGrower<T>::faces.clear();
    stage->release();
    if constexpr (sizeof(T) == 4)
        this->engine->setGridStageCollisionCallbackFloat(&TileGrower<T>::grow);
    else
        this->engine->setGridStageCollisionCallbackDouble(&TileGrower<T>::grow);
    // On the floor, against the wall at x = 1 that faces +x.
    this->add(ElementKind::Sphere, {T(1.2), T(0.4), T(-0.5)}, T(0.5), true);
    this->collide();
    EXPECT_EQ(TileGrower<T>::faces, (std::vector<uint32>{0, 2}));
}

// A face naming attributes of the wrong class is reported at every look-up, for each body and
// each cell: what the stage holds is only kept when it was found.
TYPED_TEST(CollisionStage, AFaceAttributeOfAnotherClassIsReportedEachTimeItIsLookedUp) {
    using T = TypeParam;
    auto* stage = new GridStage<T>(2, 1, 1, 1);
    auto* body = new RigidBody3DAttribute<T>();
    auto* collision = new Collision3DAttribute<T>();
    GridTile<T> tile{};
    tile.floorPresent = 1;
    tile.floorCollision = stage->collisionAttributes().add(body);
    tile.floorRigidBody = stage->rigidBodyAttributes().add(collision);
    body->release();
    collision->release();
    stage->tiles().pushBack(tile);
    stage->cells()[0] = stage->cells()[1] = 1;
    this->scene->addGridStage(stage);
    stage->release();
    // Each body lies over both cells.
    this->add(ElementKind::Sphere, {1, T(0.4), T(-0.5)}, T(0.5));
    this->add(ElementKind::Sphere, {1, T(3), T(-0.5)}, T(0.5));
    this->collide();
    const Lines pair = {physicsWarning("zor::PhysicsEngine3D::getGridStageCollision3D",
                                       "Physics attribute for collisions is not Collision3DAttribute"),
                        physicsWarning("zor::PhysicsEngine3D::getGridStageRigidBody3D",
                                       "Physics attribute for rigid bodies is not RigidBody3DAttribute")};
    Lines expected;
    for (int lookUp = 0; lookUp < 4; ++lookUp)
        expected.insert(expected.end(), pair.begin(), pair.end());
    EXPECT_EQ(test::logLines(this->record), expected);
}

// A detector that records the faces it is asked about and finds no contact.
template <typename T>
class FaceRecorder final : public HostObjectOf<ICollisionDetector<T>> {
public:
    static inline std::vector<std::vector<Vector3<T>>> faces;
    ZOR_DELETING_DESTRUCTOR(FaceRecorder)
    const String& getTemplateTypeName() const override {
        return sizeof(T) == 4 ? String::floatTypeName() : String::doubleTypeName();
    }
    const GUID_t* getGUID() const override { return &guids::kCollisionDetector; }
    bool testSphereSphere(const Vector3<T>*, const T*, const Vector3<T>*, const T*, Vector3<T>*,
                          T*) override {
        return false;
    }
    bool testSphereMesh(const Vector3<T>*, const T*, IMesh*, const Array<Vector3<T>>*, Vector3<T>*,
                        T*) override {
        return false;
    }
    bool testCapsuleCapsule(const Vector3<T>*, const Vector3<T>*, const T*, const Vector3<T>*,
                            const Vector3<T>*, const T*, Vector3<T>*, T*) override {
        return false;
    }
    bool testCapsuleQuadrilateral(const Vector3<T>*, const Vector3<T>*, const T*, const Vector3<T>* c0,
                                  const Vector3<T>* c1, const Vector3<T>* c2, const Vector3<T>* c3,
                                  Vector3<T>*, T*) override {
        faces.push_back({*c0, *c1, *c2, *c3});
        return false;
    }
    bool testCapsuleMesh(const Vector3<T>*, const Vector3<T>*, const T*, IMesh*, const Array<Vector3<T>>*,
                         Vector3<T>*, T*) override {
        return false;
    }
};

// A body left of the map is clamped to column 0; a cell naming the last tile finds it, one past
// the tiles is passed over, and a wall segment of no height is never tried.
TYPED_TEST(CollisionStage, GridStagesVisitTheClampedCellsFacesInOrder) {
    using T = TypeParam;
    using V = Vector3<T>;
    CollidingScene<T, FaceRecorder<T>> world;
    auto* stage = new GridStage<T>(2, 1, 1, 1);
    GridTile<T> plain{}, walled{};
    plain.floorPresent = walled.floorPresent = 1;
    walled.sides[0].sidePresent = 1;
    walled.sides[0].middlePresent = 1; // floor and ceiling both at 0: no height
    walled.sides[0].lowerPresent = 1;
    walled.sides[0].lowerHeight = 1;
    stage->tiles().pushBack(plain);
    stage->tiles().pushBack(walled);
    stage->cells()[0] = 2;
    stage->cells()[1] = 3;
    world.scene->addGridStage(stage);
    stage->release();
    world.add(ElementKind::Sphere, {-5, T(0.5), T(-0.5)}, T(0.5));
    FaceRecorder<T>::faces.clear();
    world.collide(); // the detector declares no reach: the faces out of reach are asked about too
    const std::vector<std::vector<V>> expected = {
        {{0, 0, -1}, {0, 0, 0}, {1, 0, 0}, {1, 0, -1}}, // floor
        {{1, 0, -1}, {1, 1, -1}, {1, 1, 0}, {1, 0, 0}}, // side 0, lower segment, facing +x
    };
    EXPECT_EQ(FaceRecorder<T>::faces, expected);
}

/// A stage of `columns` by `rows` cells of size 1 whose only tile is a lone floor at height 0.
template <typename T>
GridStage<T>* floorStage(uint32 columns, uint32 rows) {
    auto* stage = new GridStage<T>(columns, rows, 1, 1);
    GridTile<T> tile{};
    tile.floorPresent = 1;
    tile.floorCollision = tile.floorRigidBody = kNoGridAttribute;
    stage->tiles().pushBack(tile);
    return stage;
}

// In float the index of the last of 2^24 + 2 columns rounds down to 2^24: a body whose reach
// begins at 2^24 must still be tested against column 2^24, not only against the last one.
TEST(CollisionStageFloat, ColumnsPast2To24AreFoundInTheStagesNumbers) {
    CollidingScene<float, FaceRecorder<float>> world;
    constexpr uint32 columns = (1u << 24) + 2;
    GridStage<float>* stage = floorStage<float>(columns, 1);
    stage->cells()[columns - 2] = 1;
    world.scene->addGridStage(stage);
    stage->release();
    world.add(ElementKind::Sphere, {16777218.f, 0.f, -0.5f}, 2.f); // reaching from x = 2^24
    FaceRecorder<float>::faces.clear();
    world.collide();
    ASSERT_EQ(FaceRecorder<float>::faces.size(), 1u);
    EXPECT_EQ(FaceRecorder<float>::faces[0][0].x, 16777216.f);
}

// A stage too large to be compared from step to step is read anew at each: a floor laid under a
// body between two steps is met at the second.
TEST(CollisionStageLarge, AStageOfMoreThan65536CellsIsReadAgainEachStep) {
    CollidingScene<double, FaceRecorder<double>> world;
    GridStage<double>* stage = floorStage<double>(300, 300);
    world.scene->addGridStage(stage);
    world.add(ElementKind::Sphere, {150.5, 0.25, -150.5}, 0.25);
    FaceRecorder<double>::faces.clear();
    world.collide();
    EXPECT_TRUE(FaceRecorder<double>::faces.empty());
    stage->cells()[150 * 300 + 150] = 1;
    world.collide();
    EXPECT_EQ(FaceRecorder<double>::faces.size(), 1u);
    stage->release();
}

template <typename T>
bool printFace(IElement*, IElement*, Collision3DAttribute<T>*, RigidBody3DAttribute<T>*, IObject*,
               Collision3DAttribute<T>*, RigidBody3DAttribute<T>*, uint32, uint32 face, uint32, Vector3<T>*,
               T) {
    std::printf("face %u\n", face);
    return false;
}

// A null entry of the grid stages ends the process once the stages in front of it are tested.
TYPED_TEST(CollisionStage, ANullGridStageEndsTheProcessAfterTheStagesBeforeIt) {
    using T = TypeParam;
    GridStage<T>* stage = floorStage<T>(1, 1);
    stage->cells()[0] = 1;
    this->scene->addGridStage(stage);
    stage->release();
    this->scene->addGridStage(nullptr);
    if constexpr (sizeof(T) == 4)
        this->engine->setGridStageCollisionCallbackFloat(&printFace<T>);
    else
        this->engine->setGridStageCollisionCallbackDouble(&printFace<T>);
    this->add(ElementKind::Sphere, {T(0.5), T(0.4), T(-0.5)}, T(0.5));
    this->record.m_consoleEcho = true;
    EXPECT_EQ(test::outputOfExit([&] { this->collide(); }), "face 0\nERROR: assert(*it != NULL)\n");
}

} // namespace
} // namespace zor
