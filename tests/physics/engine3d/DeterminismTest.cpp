// The determinism regression scene (examples/scenes/determinism.json): contacts between bodies
// and with a tile map, friction, restitution modes, exclusion groups, locks and wrap-around,
// stepped for two seconds. Its final state is pinned by a hash that every platform and build
// must reproduce bit for bit, with and without the broad phase, and whether or not the scene
// declares its generation; a scene edited between steps ends alike either way.

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
#include "support/Held.h"
#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

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
        if (auto* body = static_cast<RigidBody3DAttribute<double>*>(element->getPhysicsAttribute(1)))
            add(body->getLinearSpeed());
    }
    return hash;
}

using Edit = std::function<void(Scene3D<double>&)>;

/// The state of the scene of `file` after 120 steps, edited by `edit` after the first 30 when
/// given. With `before`, the engine first steps another scene read from the file as many times.
uint64 runScene(const char* file, bool declared, PairFinder finder = PairFinder::Grid,
                const Edit& edit = nullptr, int before = 0) {
    String error;
    Scene3D<double>* scenes[2];
    for (Scene3D<double>*& scene : scenes) {
        scene = static_cast<Scene3D<double>*>(
            host::readSceneFile(String(ZOR_EXAMPLE_3D_SCENES "/") + String(file), error));
        EXPECT_NE(scene, nullptr) << error.c_str();
        if (scene == nullptr)
            return 0;
        scene->declareGeneration(declared);
    }
    PhysicsEngine3D* engine = test::engineOn(scenes[1]);
    setPairFinder(*engine, finder);
    for (int step = -before; step < 120; ++step) {
        Scene3D<double>& scene = *scenes[step < 0 ? 1 : 0];
        if (step == 0)
            engine->setCurrentScene(&scene);
        if (step == 30 && edit)
            edit(scene);
        scene.updateView();
        engine->beginIteration(1.0 / 60);
        engine->updateMovements();
        engine->updateCollisions(nullptr);
        engine->endIteration();
    }
    const uint64 hash = stateHash(*scenes[0]);
    engine->release();
    for (Scene3D<double>* scene : scenes)
        scene->release();
    return hash;
}

TEST(Determinism, TheRegressionSceneEndsInItsPinnedStateWithAndWithoutTheBroadPhase) {
    test::TestApplicationData record{&HostObject::create, &HostPhysicsAttribute::create};
    registerObjectAllocators();
    zor_addObjectAllocator<HostCollisionDetector<double>>();
    const uint64 pinned = 0xCCC689BEB0626906u;
    const char* file = "determinism.json";
    EXPECT_EQ(runScene(file, true), pinned);
    EXPECT_EQ(runScene(file, true), pinned) << "a second run";
    EXPECT_EQ(runScene(file, true, PairFinder::AllPairs), pinned) << "every pair asked";
    EXPECT_EQ(runScene(file, false), pinned) << "no generation declared";
    // What the engine kept of a scene at its generation is not taken for another's at the same.
    EXPECT_EQ(runScene(file, true, PairFinder::Grid, nullptr, 10), pinned) << "after another scene";
}

TEST(Determinism, AnEditedSceneThatRaisesItsGenerationEndsAsOneThatDeclaresNone) {
    test::TestApplicationData record{&HostObject::create, &HostPhysicsAttribute::create};
    registerObjectAllocators();
    zor_addObjectAllocator<HostCollisionDetector<double>>();
    using Body = RigidBody3DAttribute<double>;
    // The first sphere with a body (both scenes have one), and its body.
    const auto sphereOf = [](Scene3D<double>& scene) {
        for (Element3D<double>* element : test::itemsOf<Element3D<double>>(scene.elements()))
            if (element->kind() == ElementKind::Sphere && element->getPhysicsAttribute(1) != nullptr)
                return element;
        return static_cast<Element3D<double>*>(nullptr);
    };
    const auto bodyOf = [&](Scene3D<double>& scene) {
        return static_cast<Body*>(sphereOf(scene)->getPhysicsAttribute(1));
    };
    // An edit of an attribute's variable, which the host tells with raiseGeneration.
    const auto told = [&](std::function<void(Body&)> change) {
        return [&, change](Scene3D<double>& scene) {
            change(*bodyOf(scene));
            scene.raiseGeneration();
        };
    };
    const struct {
        const char* edit;
        Edit apply;
    } edits[] = {
        {"a sphere added",
         [&](Scene3D<double>& scene) {
             test::Held<Element3D<double>> added(ElementKind::Sphere);
             test::Held<Body> body;
             test::Held<Collision3DAttribute<double>> collision;
             added->transform().position = {5, 1.5, -2};
             added->shape() = {0.25, 0};
             added->setPhysicsAttribute(1, body);
             added->setPhysicsAttribute(2, collision);
             scene.addElement(added);
         }},
        {"its body replaced, its collision attribute removed",
         [&](Scene3D<double>& scene) {
             test::Held<Body> body;
             sphereOf(scene)->setPhysicsAttribute(1, body);
             sphereOf(scene)->setPhysicsAttribute(2, nullptr);
         }},
        {"the sphere's radius grown",
         [&](Scene3D<double>& scene) { sphereOf(scene)->shape().radius *= 1.5; }},
        {"its material, group and limits", told([](Body& body) {
             body.setMass(3), body.setRestitutionFactor(0.1), body.setFrictionCoefficient(0.9);
             body.setExclusionGroup(7), body.setMaxLinearSpeed(0);
         })},
        {"its locks, loops, immovability and friction", told([](Body& body) {
             body.setYLock(true), body.setHLoop(true), body.setImmovable(true), body.setAdditionalFriction(2);
         })},
    };
    for (const char* file : {"determinism.json", "mesh_ramp.json"})
        for (const auto& [edit, apply] : edits)
            EXPECT_EQ(runScene(file, true, PairFinder::Grid, apply),
                      runScene(file, false, PairFinder::Grid, apply))
                << file << ": " << edit;
    // Untold, an edit is not seen on the declared path: the engine does keep what it read.
    const Edit untold = [&](Scene3D<double>& scene) { bodyOf(scene)->setImmovable(true); };
    EXPECT_NE(runScene("mesh_ramp.json", true, PairFinder::Grid, untold),
              runScene("mesh_ramp.json", false, PairFinder::Grid, untold));
}

} // namespace
} // namespace zor
