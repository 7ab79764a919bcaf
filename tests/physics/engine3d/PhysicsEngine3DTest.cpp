#include "physics/engine3d/PhysicsEngine3D.h"

#include "common/containers/String.h"
#include "common/object/Identifiers.h"
#include "common/object/ObjectFactory.h"
#include "host/scene3d/Scene3D.h"
#include "physics/module/EngineReserved.h"
#include "support/ExitOutput.h"
#include "support/LogLines.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>

namespace zor {
namespace {

using test::logLines;
using test::physicsWarning;
using test::TestApplicationData;
using Lines = std::vector<std::string>;

// A scene that claims a number type the engine has no stages for.
class StringScene : public Scene3D<float> {
public:
    ZOR_DELETING_DESTRUCTOR(StringScene)
    int32 getTemplateType() const override { return 12; }
};

struct EngineFixture : testing::Test {
    TestApplicationData record{&HostObject::create};
    PhysicsEngine3D* engine = static_cast<PhysicsEngine3D*>(PhysicsEngine3D::allocateObject());
    HostObject* handler = new HostObject();
    Scene3D<float>* scene = new Scene3D<float>();

    ~EngineFixture() override {
        engine->release();
        handler->release();
        scene->release();
    }
    void ready() {
        engine->setResourcesHandler(handler);
        engine->setCurrentScene(scene);
    }
    Lines takeLines() {
        Lines lines = logLines(record);
        record.clearCaptured();
        return lines;
    }
};

TEST_F(EngineFixture, IdentityAndCompanion) {
    EXPECT_STREQ(engine->getTypeName().c_str(), "PhysicsEngine3D");
    EXPECT_EQ(*engine->getGUID(), GUID_t("36c48e50-6e82-44b7-a832-af920aa0b834"));
    EXPECT_TRUE(engine->isTypeOf(guids::kPhysicsEngine3D));
    EXPECT_TRUE(engine->isTypeOf(guids::kHostObject)) << "other identifiers go to the host object";
    EXPECT_EQ(engine->castTo(guids::kPhysicsEngine3D), engine);
    EXPECT_EQ(engine->castTo(guids::kHostObject), engine->getInterfaceObject());
    ASSERT_NE(engine->getReserved(), nullptr);
    EXPECT_EQ(engine->getReserved()->getEngine(), engine);
    EXPECT_EQ(engine->getCollisionCallbackFloat(), nullptr);
    EXPECT_EQ(engine->getGridStageCollisionCallbackDouble(), nullptr);
}

TEST_F(EngineFixture, HoldsOneReferenceOnHandlerAndSceneUntilReplacedOrDestroyed) {
    EXPECT_EQ(engine->getCurrentScene(true), nullptr);
    EXPECT_TRUE(engine->setResourcesHandler(handler));
    engine->setCurrentScene(scene);
    EXPECT_EQ(handler->getReferenceCount(), 1u);
    EXPECT_EQ(engine->getCurrentScene(false), scene);
    EXPECT_EQ(scene->getReferenceCount(), 1u);
    EXPECT_EQ(engine->getCurrentScene(true), scene);
    EXPECT_EQ(scene->getReferenceCount(), 2u) << "the caller owns the added reference";
    scene->release();

    auto* other = new HostObject();
    EXPECT_TRUE(engine->setResourcesHandler(other));
    EXPECT_EQ(handler->getReferenceCount(), 0u);
    EXPECT_TRUE(engine->setResourcesHandler(nullptr));
    EXPECT_EQ(other->getReferenceCount(), 0u);
    EXPECT_EQ(engine->getResourcesHandler(), nullptr);
    other->release();

    engine->setResourcesHandler(handler);
    engine->release();
    engine = static_cast<PhysicsEngine3D*>(PhysicsEngine3D::allocateObject());
    EXPECT_EQ(handler->getReferenceCount(), 0u);
    EXPECT_EQ(scene->getReferenceCount(), 0u);
}

TEST_F(EngineFixture, BeginIterationRefusesInOrderAndChangesNothing) {
    const char* kBegin = "zor::PhysicsEngine3D::beginIteration";
    struct Case {
        bool handler;
        double deltaT;
        bool scene;
        const char* message;
    };
    // Neighbouring cases log different lines: the log folds a repeated line.
    // clang-format off
    const Case cases[] = {
        {false, 0.0, false, "Physics engine doesn't have a resources handler. Cannot do anything."},
        {true,  0.0, false, "deltaT is 0. Cannot do anything."},
        {false, 0.5, true,  "Physics engine doesn't have a resources handler. Cannot do anything."},
        {true,  0.0, true,  "deltaT is 0. Cannot do anything."},
        {true,  0.5, false, "Current scene is NULL. Cannot do anything."}};
    // clang-format on
    for (const Case& c : cases) {
        engine->setResourcesHandler(c.handler ? handler : nullptr);
        engine->setCurrentScene(c.scene ? scene : nullptr);
        EXPECT_FALSE(engine->beginIteration(c.deltaT));
        EXPECT_EQ(takeLines(), Lines{physicsWarning(kBegin, c.message)});
        EXPECT_FALSE(engine->isIterationBegun());
        EXPECT_EQ(engine->getDeltaT(), 0.0);
    }

    ready();
    EXPECT_TRUE(engine->beginIteration(0.5));
    EXPECT_FALSE(engine->beginIteration(0.0));
    EXPECT_EQ(engine->getDeltaT(), 0.5) << "a refused begin keeps the running step";
    EXPECT_TRUE(engine->beginIteration(-0.25));
    EXPECT_EQ(engine->getDeltaT(), -0.25) << "a second begin replaces the step";
    engine->endIteration();
    EXPECT_FALSE(engine->isIterationBegun());
    EXPECT_EQ(engine->getDeltaT(), 0.0);
}

TEST_F(EngineFixture, UpdatesAndEndRefuseOutsideAStep) {
    ready();
    bool pending = true;
    EXPECT_FALSE(engine->updateMovements());
    EXPECT_FALSE(engine->updateCollisions(&pending));
    engine->endIteration();
    EXPECT_TRUE(pending) << "a refused update writes nothing";
    EXPECT_EQ(takeLines(),
              (Lines{physicsWarning("zor::PhysicsEngine3D::updateMovements",
                                    "Iteration has not begun. Cannot do anything."),
                     physicsWarning("zor::PhysicsEngine3D::updateCollisions",
                                    "Iteration has not begun. Cannot do anything."),
                     physicsWarning("zor::PhysicsEngine3D::endIteration", "Iteration has not begun")}));
}

TEST_F(EngineFixture, UpdatesRefuseScenesThatAreNotSteppable) {
    engine->setResourcesHandler(handler);
    auto* notAScene = new HostObject();
    engine->setCurrentScene(notAScene);
    notAScene->release();
    ASSERT_TRUE(engine->beginIteration(0.5));
    EXPECT_FALSE(engine->updateMovements());
    EXPECT_EQ(takeLines(), Lines{physicsWarning("zor::PhysicsEngine3D::updateMovements",
                                                "Current scene is not a 3D scene. Cannot do anything.")});

    auto* stringScene = new StringScene();
    engine->setCurrentScene(stringScene);
    stringScene->release();
    bool pending = true;
    EXPECT_FALSE(engine->updateCollisions(&pending));
    EXPECT_TRUE(pending);
    char message[128];
    std::snprintf(message, sizeof message, "Current scene:0x%016llX class variable type:0xC is not supported",
                  static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(stringScene)));
    EXPECT_EQ(takeLines(), Lines{physicsWarning("zor::PhysicsEngine3D::updateCollisions", message)});
    EXPECT_TRUE(engine->isIterationBegun()) << "a refused update leaves the step running";
}

TEST_F(EngineFixture, ASceneRemovedDuringAStepEndsTheProcess) {
    ready();
    ASSERT_TRUE(engine->beginIteration(0.5));
    engine->setCurrentScene(nullptr);
    record.m_consoleEcho = true;
    const std::string assertion = "ERROR: assert(m_currentScene != NULL)\n";
    EXPECT_EQ(test::outputOfExit([&] { engine->endIteration(); }), assertion);
    EXPECT_EQ(test::outputOfExit([&] { engine->updateMovements(); }), assertion);
}

} // namespace
} // namespace zor
