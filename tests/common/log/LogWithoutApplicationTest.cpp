#include "common/log/Log.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace zor {
namespace {

TEST(LogLevelName, FiveLevelsAreFiveCharactersWideAndOthersAreNone) {
    EXPECT_STREQ(logLevelName(1), "ERROR");
    EXPECT_STREQ(logLevelName(2), "WARN ");
    EXPECT_STREQ(logLevelName(3), "INFO ");
    EXPECT_STREQ(logLevelName(4), "DEBUG");
    EXPECT_STREQ(logLevelName(5), "TRACE");
    for (int32 other : {0, -1, 6, 1000})
        EXPECT_STREQ(logLevelName(other), "NONE") << other;
}

TEST(LogWithoutApplication, PrintsLevelColonMessageWhateverTheLevelAndEcho) {
    testing::internal::CaptureStdout();
    zor_log("common", false, 2, "zor::Test::run", "Cannot do %s.", "anything");
    zor_log("common", true, 7, "zor::Test::run", "value %d", 42);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "WARN : Cannot do anything.\nNONE: value 42\n");
}

std::string qualified(const char* signature) {
    char name[256];
    qualifiedFunctionName(signature, name, sizeof name);
    return name;
}

TEST(QualifiedFunctionName, ReducesCompilerSignatures) {
    EXPECT_EQ(qualified("void zor::String::pushBackUTF8String(const char*)"), "zor::String::pushBackUTF8String");
    EXPECT_EQ(qualified("zor::WObject::~WObject()"), "zor::WObject::~WObject");
    EXPECT_EQ(qualified("zor::IObject* zor_createObject()"), "zor_createObject");
    EXPECT_EQ(qualified("bool zor::physicsInitialize(zor::ApplicationData*)"), "zor::physicsInitialize");
    EXPECT_EQ(qualified("void zor::RigidBody3DAttribute<T>::copy_Backwards(const zor::IObject*) [with T = float]"),
              "zor::RigidBody3DAttribute<float>::copy_Backwards");
    EXPECT_EQ(qualified("zor::HashMapBase<K, V, H, E>::Iterator zor::HashMapBase<K, V, H, E>::find(const K&) "
                        "[with K = unsigned char; V = int; H = zor::Hash<unsigned char>; E = zor::EqualTo<unsigned char>]"),
              "zor::HashMapBase<unsigned char, int, zor::Hash<unsigned char>, zor::EqualTo<unsigned char>>::find");
}

void failingCheck(int value) { zor_assert(value != 0); }

TEST(AssertDeathTest, FailedAssertionLogsAndExitsWithZero) {
    EXPECT_EXIT(failingCheck(0), testing::ExitedWithCode(0), "");
    testing::internal::CaptureStdout();
    failingCheck(1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST(AssertDeathTest, FailedAssertionPrintsTheConditionAtErrorLevel) {
    // The child's standard output goes to a file that the parent reads after the exit.
    const std::string path = testing::TempDir() + "zor_assert_output.txt";
    EXPECT_EXIT(
        {
            if (std::freopen(path.c_str(), "w", stdout) != nullptr)
                failingCheck(0);
        },
        testing::ExitedWithCode(0), "");
    std::FILE* file = std::fopen(path.c_str(), "r");
    ASSERT_NE(file, nullptr);
    char text[128] = {};
    const std::size_t read = std::fread(text, 1, sizeof text - 1, file);
    std::fclose(file);
    std::remove(path.c_str());
    EXPECT_EQ(std::string(text, read), "ERROR: assert(value != 0)\n");
}

} // namespace
} // namespace zor
