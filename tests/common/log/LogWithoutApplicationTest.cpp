#include "common/log/Log.h"

#include "support/ExitOutput.h"

#include <gtest/gtest.h>

#include <string>

namespace zor {
namespace {

TEST(LogLevelName, FiveLevelsAreFiveCharactersWideAndOthersAreNone) {
    const char* const names[] = {"NONE", "ERROR", "WARN ", "INFO ", "DEBUG", "TRACE", "NONE"};
    for (int32 level = -1; level <= 6; ++level)
        EXPECT_STREQ(logLevelName(level), names[level < 0 ? 0 : level]) << level;
    EXPECT_STREQ(logLevelName(1000), "NONE");
}

TEST(LogWithoutApplication, PrintsLevelColonMessageWhateverTheLevelAndEcho) {
    testing::internal::CaptureStdout();
    zor_log("common", false, 2, "zor::Test::run", "Cannot do %s.", "anything");
    zor_log("common", true, 7, "zor::Test::run", "value %d", 42);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "WARN : Cannot do anything.\nNONE: value 42\n");
}

void failingCheck(int value) {
    zor_assert(value != 0);
}

TEST(AssertDeathTest, FailedAssertionPrintsTheConditionAtErrorLevelAndExitsWithZero) {
    EXPECT_EQ(test::outputOfExit([] { failingCheck(0); }), "ERROR: assert(value != 0)\n");
    testing::internal::CaptureStdout();
    failingCheck(1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

} // namespace
} // namespace zor
