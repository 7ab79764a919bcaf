// The module's entry points linked into the test program, where their addresses are known.

#include "ModuleScenarios.h"

#include "common/application/CommonModule.h"
#include "physics/module/PhysicsModule.h"

namespace zor::test {
namespace {

TEST(PhysicsModule, TearDownListHasPhysicsBeforeCommon) {
    ScenarioRecord record("complete");
    ApplicationData* previous = applicationData();
    setApplicationData(&record);
    ASSERT_TRUE(physicsInitialize(&record));
    setApplicationData(previous);

    ASSERT_EQ(record.m_deinitializeCallbacks.size(), 2u);
    EXPECT_EQ(record.m_deinitializeCallbacks.front(), &physicsDeinitialize);
    EXPECT_EQ(record.m_deinitializeCallbacks.back(), &commonDeinitialize);
}

TEST(PhysicsModule, TearDownWithoutRecordOnlyWarns) {
    ApplicationData* previous = applicationData();
    setApplicationData(nullptr);
    ::testing::internal::CaptureStdout();
    physicsDeinitialize();
    const std::string output = ::testing::internal::GetCapturedStdout();
    setApplicationData(previous);
    EXPECT_EQ(output, "WARN : Application data is NULL, cannot deinitialize module: physics\n");
}

} // namespace
} // namespace zor::test
