// A failed assertion ends the process with exit code 0, which a test runner takes for success.
// Every test program links this guard: a process that ends while a test is running (outside the
// child process of a death test, where that is the point) exits with code 1 instead.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace {

void failIfInsideATest() {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    if (test == nullptr || testing::internal::InDeathTestChild())
        return;
    std::fprintf(stderr, "The test program ended inside %s.%s\n", test->test_suite_name(), test->name());
    std::fflush(nullptr);
    std::_Exit(1);
}

// The test runner is made first, so that it is still there when the guard runs: handlers
// registered later run earlier at exit.
const bool kGuardRegistered =
    testing::UnitTest::GetInstance() != nullptr && std::atexit(&failIfInsideATest) == 0;

} // namespace
