// Without a grid-stage callback the collision stage takes each tile's faces as it read them with
// the stage; with one it reads them tile by tile as it comes to them. Both must ask the detector
// about the same faces, in the same order and with the same bits, and leave the same bodies.

#include "common/framework/ICollisionDetector.h"
#include "host/detector/CollisionGeometry.h"
#include "host/project/HostPhysicsAttribute.h"
#include "host/scene3d/GridStage.h"
#include "host/scene3d/Scene3D.h"
#include "physics/attributes/Collision3DAttribute.h"
#include "physics/attributes/RigidBody3DAttribute.h"
#include "physics/engine3d/PhysicsEngine3D.h"
#include "support/EngineOnScene.h"
#include "support/TestApplicationData.h"

#include "common/object/Identifiers.h"
#include "common/object/ObjectFactory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <vector>

namespace zor {
namespace {

// The host's geometry, writing down every face test: the shape, the corners and the answer.
template <typename T>
class FaceLog final : public HostObjectOf<ICollisionDetector<T>> {
public:
    static inline std::vector<unsigned char> bytes;
    ZOR_DELETING_DESTRUCTOR(FaceLog)
    const String& getTemplateTypeName() const override {
        return sizeof(T) == 4 ? String::floatTypeName() : String::doubleTypeName();
    }
    const GUID_t* getGUID() const override { return &guids::kCollisionDetector; }
    bool testSphereSphere(const Vector3<T>* c1, const T* r1, const Vector3<T>* c2, const T* r2,
                          Vector3<T>* normal, T* depth) override {
        return collision::sphereSphere(*c1, *r1, *c2, *r2, *normal, *depth);
    }
    bool testSphereMesh(const Vector3<T>*, const T*, IMesh*, const Array<Vector3<T>>*, Vector3<T>*,
                        T*) override {
        return false;
    }
    bool testCapsuleCapsule(const Vector3<T>* a1, const Vector3<T>* b1, const T* r1, const Vector3<T>* a2,
                            const Vector3<T>* b2, const T* r2, Vector3<T>* normal, T* depth) override {
        collision::Contact<T> found;
        if (!collision::capsuleCapsule(*a1, *b1, *r1, *a2, *b2, *r2, found))
            return false;
        *normal = found.normal, *depth = found.depth;
        return true;
    }
    bool testCapsuleQuadrilateral(const Vector3<T>* a, const Vector3<T>* b, const T* radius,
                                  const Vector3<T>* c0, const Vector3<T>* c1, const Vector3<T>* c2,
                                  const Vector3<T>* c3, Vector3<T>* normal, T* depth) override {
        const bool found =
            collision::capsuleQuadrilateral(*a, *b, *radius, *c0, *c1, *c2, *c3, *normal, *depth);
        for (const Vector3<T>* point : {a, b, c0, c1, c2, c3, const_cast<const Vector3<T>*>(normal)})
            add(*point);
        add(*radius), add(*depth), add(found);
        return found;
    }
    bool testCapsuleMesh(const Vector3<T>*, const Vector3<T>*, const T*, IMesh*, const Array<Vector3<T>>*,
                         Vector3<T>*, T*) override {
        return false;
    }

private:
    template <typename Value>
    static void add(const Value& value) {
        const auto* first = reinterpret_cast<const unsigned char*>(&value);
        bytes.insert(bytes.end(), first, first + sizeof value);
    }
};

template <typename T>
bool acceptEvery(IElement*, IElement*, Collision3DAttribute<T>*, RigidBody3DAttribute<T>*, IObject*,
                 Collision3DAttribute<T>*, RigidBody3DAttribute<T>*, uint32, uint32, uint32, Vector3<T>*, T) {
    return true;
}

struct StageCase {
    const char* name;
    double depth;
    /// The exclusion group of the walls' body, which some of the falling bodies share.
    uint32 wallGroup;
};

// A 4 by 4 stage of lone floors, a covered floor, walls of every segment on each side and a raised
// floor, with a cell of no tile and one past the tiles; spheres and capsules fall on it for a
// while. The detector's log, then every body's place and speed.
template <typename T>
std::vector<unsigned char> fallOn(const StageCase& stageCase, bool callback) {
    test::TestApplicationData record{&HostObject::create, &HostPhysicsAttribute::create};
    zor_addObjectAllocator<FaceLog<T>>();
    FaceLog<T>::bytes.clear();
    auto* scene = new Scene3D<T>();
    PhysicsEngine3D* engine = test::engineOn(scene);
    if (callback) {
        if constexpr (sizeof(T) == 4)
            engine->setGridStageCollisionCallbackFloat(&acceptEvery<T>);
        else
            engine->setGridStageCollisionCallbackDouble(&acceptEvery<T>);
    }
    scene->setGravity(9.81);
    auto* stage = new GridStage<T>(4, 4, 1, T(stageCase.depth));
    auto* floorBody = new RigidBody3DAttribute<T>();
    floorBody->setInfiniteMass(true);
    auto* wallBody = new RigidBody3DAttribute<T>();
    wallBody->setInfiniteMass(true);
    wallBody->setExclusionGroup(stageCase.wallGroup);
    const uint32 floorIndex = stage->rigidBodyAttributes().add(floorBody);
    const uint32 wallIndex = stage->rigidBodyAttributes().add(wallBody);
    floorBody->release();
    wallBody->release();
    GridTile<T> lone{};
    lone.floorPresent = 1;
    lone.floorRigidBody = floorIndex;
    lone.floorCollision = lone.ceilingCollision = kNoGridAttribute;
    GridTile<T> covered = lone;
    covered.ceilingPresent = 1;
    covered.ceilingHeight = T(1.5);
    covered.ceilingRigidBody = wallIndex;
    GridTile<T> walled = covered;
    walled.ceilingPresent = 0;
    for (uint32 side = 0; side < 4; ++side) {
        GridTileSide<T>& walls = walled.sides[side];
        walls.sidePresent = 1;
        walls.middlePresent = side != 1;
        walls.lowerPresent = side != 0;
        walls.upperPresent = side >= 2;
        walls.lowerHeight = T(0.5);
        walls.upperHeight = side == 2 ? T(0) : T(0.75); // side 2's upper wall has no height
        walls.middleRigidBody = walls.lowerRigidBody = walls.upperRigidBody = wallIndex;
        walls.middleCollision = walls.lowerCollision = walls.upperCollision = kNoGridAttribute;
    }
    GridTile<T> raised = walled;
    raised.floorHeight = T(0.25);
    raised.floorSpeed = T(0.5);
    raised.ceilingPresent = 1;
    for (const GridTile<T>* tile : {&lone, &covered, &walled, &raised})
        stage->tiles().pushBack(*tile);
    const uint32 cells[16] = {1, 1, 3, 1, 2, 1, 4, 0, 1, 3, 1, 5, 4, 1, 2, 1};
    std::memcpy(stage->cells().data(), cells, sizeof cells);
    scene->addGridStage(stage);
    stage->release();
    std::vector<std::pair<Element3D<T>*, RigidBody3DAttribute<T>*>> bodies;
    // Bodies dropped fast close to the edges of their cells, whose response moves them out of
    // reach of the next cell or into it, and bodies sliding into walls.
    for (int i = 0; i < 16; ++i) {
        auto* element = new Element3D<T>(i % 3 == 2 ? ElementKind::Capsule : ElementKind::Sphere);
        const bool dropped = i < 10;
        element->transform().position = {T((dropped ? 0.85 + 0.01 * i : 0.5) + i % 4),
                                         T(dropped ? 0.45 : 0.35 + 0.1 * (i % 3)),
                                         T(-0.5 - i / 4 - 0.02 * i)};
        element->shape() = {T(0.3), T(0.6)};
        auto* collision = new Collision3DAttribute<T>();
        collision->setEventParent(0);
        element->setPhysicsAttribute(2, collision);
        collision->release();
        auto* body = new RigidBody3DAttribute<T>();
        body->setExclusionGroup(i % 4 == 1 ? 1 : 0);
        body->setLinearSpeed(dropped ? Vector3<T>{0, -4, 0}
                                     : Vector3<T>{T(i % 2 ? 1.5 : -1.5), 0, T(i % 3 ? 1 : -1)});
        element->setPhysicsAttribute(1, body);
        body->release();
        scene->addElement(element);
        bodies.push_back({element, body});
        element->release();
    }
    for (int step = 0; step < 60; ++step) {
        scene->updateView();
        EXPECT_TRUE(engine->beginIteration(1.0 / 60));
        engine->updateMovements();
        bool pending = false;
        EXPECT_TRUE(engine->updateCollisions(&pending));
        engine->endIteration();
    }
    std::vector<unsigned char> result = FaceLog<T>::bytes;
    for (const auto& [element, body] : bodies) {
        const Vector3<T> state[2] = {element->transform().position, body->getLinearSpeed()};
        const auto* first = reinterpret_cast<const unsigned char*>(state);
        result.insert(result.end(), first, first + sizeof state);
    }
    engine->release();
    scene->release();
    return result;
}

template <typename T>
struct GridStageLean : testing::Test {};
using NumberTypes = testing::Types<float, double>;
TYPED_TEST_SUITE(GridStageLean, NumberTypes);

TYPED_TEST(GridStageLean, AsksTheDetectorAndLeavesTheBodiesAsTheTileByTileTest) {
    const StageCase cases[] = {
        {"finite cells", 1, 0},
        {"walls of the group of some bodies", 1, 1},
        {"cells of infinite depth", std::numeric_limits<double>::infinity(), 0},
    };
    for (const StageCase& stageCase : cases) {
        const std::vector<unsigned char> lean = fallOn<TypeParam>(stageCase, false);
        EXPECT_GT(lean.size(), 16 * 2 * sizeof(Vector3<TypeParam>))
            << stageCase.name << ": no face was tested";
        EXPECT_EQ(lean, fallOn<TypeParam>(stageCase, true)) << stageCase.name;
    }
}

} // namespace
} // namespace zor
