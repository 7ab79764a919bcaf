#pragma once

#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

namespace zor::test {

/// Runs `body` in a child process that must end with exit code 0 (as a failed assertion does)
/// and returns what the child printed on standard output. A body that returns instead fails.
template <typename Body>
std::string outputOfExit(Body body) {
    // The child's standard output goes to a file that the parent reads after the exit. The child
    // may be a new run of the program, so the name is derived from what both know; it differs
    // between tests, test programs and build folders, which may run at the same time.
    const testing::UnitTest& unit = *testing::UnitTest::GetInstance();
    const testing::TestInfo& test = *unit.current_test_info();
    const std::size_t key = std::hash<std::string>{}(std::string(unit.original_working_dir()) + "|" +
                                                     test.test_suite_name() + "." + test.name());
    const std::string path = testing::TempDir() + "zor_exit_output_" + std::to_string(key) + ".txt";
    EXPECT_EXIT(
        {
            if (std::freopen(path.c_str(), "w", stdout) != nullptr)
                body();
            std::fclose(stdout);
            std::_Exit(3);
        },
        testing::ExitedWithCode(0), "");
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (file == nullptr)
        return "no output";
    char text[512] = {};
    const std::size_t read = std::fread(text, 1, sizeof text - 1, file);
    std::fclose(file);
    std::remove(path.c_str());
    return std::string(text, read);
}

/// A host record whose log lines go to standard output, where `outputOfExit` finds them.
struct PrintingRecord : TestApplicationData {
    using TestApplicationData::TestApplicationData;
    void writeLog(const String& text) override { std::fputs(text.c_str(), stdout); }
};

} // namespace zor::test
