// Every example scene, stepped with the broad phase and with every pair asked, ends in the same
// bits: each body's position, rotation and speed after every step. So it does with the host's
// detector and with one that reports contacts up to 0.01 beyond touching, declaring that reach or
// nothing; the one that declares nothing is asked the same tests in the same order either way.

#include "common/object/ObjectFactory.h"
#include "host/detector/HostCollisionDetector.h"
#include "host/project/HostPhysicsAttribute.h"
#include "host/scene3d/SceneFile.h"
#include "host/simulate/Simulation.h"
#include "physics/engine3d/PhysicsEngine3D.h"
#include "physics/engine3d/collision/SceneCollisions.h"
#include "physics/module/ObjectAllocators.h"
#include "support/EngineOnScene.h"
#include "support/SkinDetector.h"
#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <vector>

namespace zor {
namespace {

/// The trajectory of the scene file at `path` over 200 steps of 0.02, as bytes, with the host's
/// detector (`declared` NaN) or a skin detector declaring `declared` (nothing when negative), and
/// the tests the skin detector was asked.
template <typename T>
std::vector<unsigned char> run(IObject* scene, PairFinder finder, double declared) {
    PhysicsEngine3D* engine = test::engineOn(scene);
    setPairFinder(*engine, finder);
    test::SkinDetector<T>* skin = nullptr;
    if (!std::isnan(declared))
        engine->collisionDetector<T>() = skin = new test::SkinDetector<T>(0.01, declared);
    host::Trajectory trajectory;
    EXPECT_TRUE(host::runSimulation(*engine, *static_cast<Scene3D<T>*>(scene), {}, trajectory));
    std::vector<unsigned char> bytes(trajectory.samples.size() * sizeof(host::BodySample));
    if (!bytes.empty())
        std::memcpy(bytes.data(), trajectory.samples.data(), bytes.size());
    if (skin != nullptr && declared < 0)
        for (const uint64 value : {skin->askedCount, skin->askedHash})
            bytes.insert(bytes.end(), reinterpret_cast<const unsigned char*>(&value),
                         reinterpret_cast<const unsigned char*>(&value) + sizeof value);
    engine->release();
    return bytes;
}

std::vector<unsigned char> run(const std::filesystem::path& path, PairFinder finder, double declared) {
    String error;
    IObject* scene = host::readSceneFile(String(path.string().c_str()), error);
    EXPECT_NE(scene, nullptr) << error.c_str();
    if (scene == nullptr)
        return {};
    std::vector<unsigned char> bytes = scene->getTemplateType() == 10 ? run<float>(scene, finder, declared)
                                                                      : run<double>(scene, finder, declared);
    scene->release();
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
        for (const double declared : {std::nan(""), 0.01, -1.0}) {
            const std::vector<unsigned char> broadPhase = run(entry.path(), PairFinder::Grid, declared);
            EXPECT_FALSE(broadPhase.empty());
            EXPECT_EQ(broadPhase, run(entry.path(), PairFinder::AllPairs, declared))
                << "declared " << declared;
        }
        ++scenes;
    }
    EXPECT_GT(scenes, 0);
}

} // namespace
} // namespace zor
