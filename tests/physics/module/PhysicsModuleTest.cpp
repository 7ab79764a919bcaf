// The module's entry points linked into the test program, where their addresses are known.

#include "physics/module/PhysicsModule.h"
#include "common/application/CommonModule.h"

#include "host/core/HostObject.h"
#include "host/project/HostPhysicsAttribute.h"
#include "support/LoadedPhysicsModule.h"
#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

#include <string>

namespace zor {
namespace {

TEST(PhysicsModule, TearDownListHasPhysicsBeforeCommon) {
    // Registering the module's classes makes host objects for them.
    test::TestApplicationData record(&HostObject::create, &HostPhysicsAttribute::create);
    record.m_librariesDirectory = (test::binDirectory() + "/scenarios/complete/").c_str();
    record.m_frameworkVersion = kModuleFrameworkVersion;
    ASSERT_TRUE(physicsInitialize(&record));

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
} // namespace zor
