// The determinism regression scene: contacts between bodies and with a tile map, friction,
// restitution modes, exclusion groups, locks and wrap-around, stepped for two seconds. Its final
// state is pinned by a hash that every platform and build must reproduce bit for bit.

#include "common/object/ObjectFactory.h"
#include "host/detector/HostCollisionDetector.h"
#include "host/project/HostPhysicsAttribute.h"
#include "host/scene3d/GridStage.h"
#include "host/scene3d/Scene3D.h"
#include "physics/attributes/Collision3DAttribute.h"
#include "physics/attributes/RigidBody3DAttribute.h"
#include "physics/engine3d/PhysicsEngine3D.h"
#include "physics/engine3d/SceneCollisions.h"
#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace zor {
namespace {

using V = Vector3<double>;

/// A 64-bit FNV-1a hash of every body's position and linear speed, in scene order.
uint64 stateHash(const std::vector<Element3D<double>*>& elements) {
    uint64 hash = 0xCBF29CE484222325u;
    const auto add = [&hash](const V& v) {
        unsigned char bytes[sizeof v];
        std::memcpy(bytes, &v, sizeof v);
        for (unsigned char byte : bytes)
            hash = (hash ^ byte) * 0x100000001B3u;
    };
    for (Element3D<double>* element : elements) {
        add(element->transform().position);
        add(static_cast<RigidBody3DAttribute<double>*>(element->getPhysicsAttribute(1))->getLinearSpeed());
    }
    return hash;
}

// One body of the scene: its shape, place, speed and what makes it behave differently.
struct BodySetup {
    ElementKind kind;
    V position, speed;
    double radius, restitution;
    uint32 combine, group;
    double friction, additionalFriction;
    bool xLock, hLoop;
};

uint64 runRegressionScene() {
    auto* scene = new Scene3D<double>();
    auto* engine = static_cast<PhysicsEngine3D*>(PhysicsEngine3D::allocateObject());
    auto* handler = new HostObject();
    engine->setResourcesHandler(handler);
    handler->release();
    engine->setCurrentScene(scene);
    scene->setGravity(9.81);

    // A 10 x 10 tile map in x from 0 to 10 and z from 0 to -10, walled on its left and right.
    auto* stage = new GridStage<double>(10, 10, 1, 1);
    auto* ground = new RigidBody3DAttribute<double>();
    ground->setInfiniteMass(true);
    ground->setRestitutionFactor(0.4);
    ground->setFrictionCoefficient(0.6);
    const uint32 groundIndex = stage->rigidBodyAttributes().add(ground);
    ground->release();
    for (uint32 walls : {0u, 1u, 4u}) {
        GridTile<double> tile{};
        tile.floorPresent = 1;
        tile.floorHeight = walls == 0 ? 0 : 0.25; // the walled columns are a step up
        tile.floorCollision = tile.ceilingCollision = kNoGridAttribute;
        tile.floorRigidBody = groundIndex;
        tile.ceilingHeight = 4;
        for (int side = 0; side < 4; ++side) {
            tile.sides[side].sidePresent = tile.sides[side].middlePresent = (walls >> side) & 1;
            tile.sides[side].middleCollision = kNoGridAttribute;
            tile.sides[side].middleRigidBody = groundIndex;
        }
        stage->tiles().pushBack(tile);
    }
    for (uint32 row = 0; row < 10; ++row)
        for (uint32 column = 0; column < 10; ++column)
            stage->cells()[row * 10 + column] = column == 0 ? 2 : column == 9 ? 3 : 1;
    scene->addGridStage(stage);
    stage->release();

    const BodySetup setups[] = {
        {ElementKind::Sphere, {2, 1, -2}, {1, 0, 0}, 0.5, 0.8, 0, 0, 0.3, 0, false, false},
        {ElementKind::Sphere, {4, 1, -2}, {-1, 0, 0}, 0.5, 0.5, 1, 0, 0.3, 0, false, false},
        {ElementKind::Sphere, {3, 2.2, -2}, {0, 0, 0}, 0.4, 0.9, 2, 0, 0.5, 0, false, false},
        {ElementKind::Sphere, {6, 1, -5}, {0, 0, 2}, 0.5, 0.2, 3, 2, 0.8, 1, false, false},
        {ElementKind::Sphere, {6, 1, -3.5}, {0, 0, -2}, 0.5, 0.2, 0, 2, 0.8, 0, false, false},
        {ElementKind::Capsule, {8, 2, -7}, {-2, 0, 0.5}, 0.3, 0.6, 0, 0, 0.4, 0, false, false},
        {ElementKind::Sphere, {7, 1, -7}, {1, 0, 0}, 0.35, 1.0, 2, 0, 0.0, 0.5, true, false},
        {ElementKind::Sphere, {9.2, 3, -9}, {12, 1, 0}, 0.3, 0.7, 0, 0, 0.2, 0, false, true},
        {ElementKind::Sphere, {5, 3, -5}, {0, -3, 0}, 0.6, 0.5, 1, 0, 0.5, 0, false, false},
        {ElementKind::Sphere, {5.3, 4.5, -5.2}, {0, 0, 0}, 0.3, 0.5, 0, 0, 0.5, 0, false, false},
    };
    std::vector<Element3D<double>*> elements;
    for (const BodySetup& setup : setups) {
        auto* element = new Element3D<double>(setup.kind);
        element->transform().position = setup.position;
        element->shape() = {setup.radius, 1};
        auto* collision = new Collision3DAttribute<double>();
        collision->setEventParent(0);
        auto* body = new RigidBody3DAttribute<double>();
        body->setLinearSpeed(setup.speed);
        body->setRestitutionFactor(setup.restitution);
        body->setRestitutionCombine(setup.combine);
        body->setExclusionGroup(setup.group);
        body->setFrictionCoefficient(setup.friction);
        body->setAdditionalFriction(setup.additionalFriction);
        body->setXLock(setup.xLock);
        body->setHLoop(setup.hLoop);
        body->setMaxLinearSpeed(20);
        element->setPhysicsAttribute(1, body);
        element->setPhysicsAttribute(2, collision);
        body->release();
        collision->release();
        scene->addElement(element);
        elements.push_back(element);
        element->release();
    }
    for (int step = 0; step < 120; ++step) {
        scene->updateView();
        engine->beginIteration(1.0 / 60);
        engine->updateMovements();
        engine->updateCollisions(nullptr);
        engine->endIteration();
    }
    const uint64 hash = stateHash(elements);
    engine->release();
    scene->release();
    return hash;
}

TEST(Determinism, TheRegressionSceneEndsInItsPinnedStateWithAndWithoutTheBroadPhase) {
    test::TestApplicationData record{&HostObject::create, &HostPhysicsAttribute::create};
    zor_addObjectAllocator<HostCollisionDetector<double>>();
    const uint64 pinned = 0xCCC689BEB0626906u;
    EXPECT_EQ(runRegressionScene(), pinned);
    EXPECT_EQ(runRegressionScene(), pinned) << "a second run";
    setCollisionPairBounds(false);
    EXPECT_EQ(runRegressionScene(), pinned) << "every pair asked";
    setCollisionPairBounds(true);
}

} // namespace
} // namespace zor
