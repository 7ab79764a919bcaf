// The determinism regression scene (examples/scenes/determinism.json): contacts between bodies
// and with a tile map, friction, restitution modes, exclusion groups, locks and wrap-around,
// stepped for two seconds. Its final state is pinned by a hash that every platform and build
// must reproduce bit for bit, with and without the broad phase.

#include "common/object/ObjectFactory.h"
#include "host/detector/HostCollisionDetector.h"
#include "host/project/HostPhysicsAttribute.h"
#include "host/scene3d/Scene3D.h"
#include "host/scene3d/SceneFile.h"
#include "physics/attributes/RigidBody3DAttribute.h"
#include "physics/engine3d/PhysicsEngine3D.h"
#include "physics/engine3d/collision/SceneCollisions.h"
#include "physics/module/ObjectAllocators.h"
#include "support/CollectionItems.h"
#include "support/EngineOnScene.h"
#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

#include <cstring>

namespace zor {
namespace {

using V = Vector3<double>;

/// A 64-bit FNV-1a hash of every element's position and linear speed, in scene order.
uint64 stateHash(Scene3D<double>& scene) {
    uint64 hash = 0xCBF29CE484222325u;
    const auto add = [&hash](const V& v) {
        unsigned char bytes[sizeof v];
        std::memcpy(bytes, &v, sizeof v);
        for (unsigned char byte : bytes)
            hash = (hash ^ byte) * 0x100000001B3u;
    };
    for (Element3D<double>* element : test::itemsOf<Element3D<double>>(scene.elements())) {
        add(element->transform().position);
        add(static_cast<RigidBody3DAttribute<double>*>(element->getPhysicsAttribute(1))->getLinearSpeed());
    }
    return hash;
}

uint64 runRegressionScene(PairFinder finder = PairFinder::Grid) {
    String error;
    auto* scene = static_cast<Scene3D<double>*>(
        host::readSceneFile(String(ZOR_EXAMPLE_3D_SCENES "/determinism.json"), error));
    EXPECT_NE(scene, nullptr) << error.c_str();
    if (scene == nullptr)
        return 0;
    PhysicsEngine3D* engine = test::engineOn(scene);
    setPairFinder(*engine, finder);
    for (int step = 0; step < 120; ++step) {
        scene->updateView();
        engine->beginIteration(1.0 / 60);
        engine->updateMovements();
        engine->updateCollisions(nullptr);
        engine->endIteration();
    }
    const uint64 hash = stateHash(*scene);
    engine->release();
    scene->release();
    return hash;
}

TEST(Determinism, TheRegressionSceneEndsInItsPinnedStateWithAndWithoutTheBroadPhase) {
    test::TestApplicationData record{&HostObject::create, &HostPhysicsAttribute::create};
    registerObjectAllocators();
    zor_addObjectAllocator<HostCollisionDetector<double>>();
    const uint64 pinned = 0xCCC689BEB0626906u;
    EXPECT_EQ(runRegressionScene(), pinned);
    EXPECT_EQ(runRegressionScene(), pinned) << "a second run";
    EXPECT_EQ(runRegressionScene(PairFinder::AllPairs), pinned) << "every pair asked";
}

} // namespace
} // namespace zor
