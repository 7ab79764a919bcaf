// Every example scene, stepped with the broad phase and with every pair asked, ends in the same
// bits: each body's position, rotation and speed after every step.

#include "common/object/ObjectFactory.h"
#include "host/detector/HostCollisionDetector.h"
#include "host/project/HostPhysicsAttribute.h"
#include "host/scene3d/SceneFile.h"
#include "host/simulate/Simulation.h"
#include "physics/engine3d/PhysicsEngine3D.h"
#include "physics/engine3d/SceneCollisions.h"
#include "physics/module/ObjectAllocators.h"
#include "support/EngineOnScene.h"
#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <vector>

namespace zor {
namespace {

/// The trajectory of the scene file at `path` over 200 steps of 0.02, as bytes.
std::vector<unsigned char> run(const std::filesystem::path& path, bool pairBounds) {
    String error;
    IObject* scene = host::readSceneFile(String(path.string().c_str()), error);
    EXPECT_NE(scene, nullptr) << error.c_str();
    if (scene == nullptr)
        return {};
    PhysicsEngine3D* engine = test::engineOn(scene);
    setCollisionPairBounds(pairBounds);
    host::Trajectory trajectory;
    const bool ran =
        scene->getTemplateType() == 10
            ? host::runSimulation(*engine, *static_cast<Scene3D<float>*>(scene), {}, trajectory)
            : host::runSimulation(*engine, *static_cast<Scene3D<double>*>(scene), {}, trajectory);
    setCollisionPairBounds(true);
    EXPECT_TRUE(ran);
    engine->release();
    scene->release();
    std::vector<unsigned char> bytes(trajectory.samples.size() * sizeof(host::BodySample));
    if (!bytes.empty())
        std::memcpy(bytes.data(), trajectory.samples.data(), bytes.size());
    return bytes;
}

TEST(ExampleScenes, StepToTheSameBitsWithTheBroadPhaseAsWithEveryPairAsked) {
    test::TestApplicationData record{&HostObject::create, &HostPhysicsAttribute::create};
    registerObjectAllocators();
    zor_addObjectAllocator<HostCollisionDetector<float>>();
    zor_addObjectAllocator<HostCollisionDetector<double>>();
    int scenes = 0;
    for (const auto& entry : std::filesystem::directory_iterator(ZOR_EXAMPLE_3D_SCENES)) {
        const auto extension = entry.path().extension();
        if (!entry.is_regular_file() || (extension != ".json" && extension != ".xml"))
            continue;
        SCOPED_TRACE(entry.path().filename().string());
        const std::vector<unsigned char> broadPhase = run(entry.path(), true);
        EXPECT_FALSE(broadPhase.empty());
        EXPECT_EQ(broadPhase, run(entry.path(), false));
        ++scenes;
    }
    EXPECT_GT(scenes, 0);
}

} // namespace
} // namespace zor
