#include "common/platform/Platform.h"

#include <gtest/gtest.h>

namespace zor::platform {
namespace {

uint64 fileTimeOf(uint64 daysSince1601, uint64 secondsOfDay, uint64 hundredNanoseconds = 0) {
    return (daysSince1601 * 86400u + secondsOfDay) * 10000000u + hundredNanoseconds;
}

TEST(Platform, FileTimeConvertsToCalendarTime) {
    // 1601-01-01 00:00:00 was a Monday.
    SystemTime origin = fileTimeToSystemTime(0);
    EXPECT_EQ(origin.year, 1601);
    EXPECT_EQ(origin.month, 1);
    EXPECT_EQ(origin.day, 1);
    EXPECT_EQ(origin.dayOfWeek, 1);

    // 1970-01-01 is day 134774; 2026-12-03 23:00:36.123 lies 20790 days later (a Thursday).
    const SystemTime time = fileTimeToSystemTime(fileTimeOf(134774 + 20790, 23 * 3600 + 36, 1234567));
    EXPECT_EQ(time.year, 2026);
    EXPECT_EQ(time.month, 12);
    EXPECT_EQ(time.day, 3);
    EXPECT_EQ(time.dayOfWeek, 4);
    EXPECT_EQ(time.hour, 23);
    EXPECT_EQ(time.minute, 0);
    EXPECT_EQ(time.second, 36);
    EXPECT_EQ(time.milliseconds, 123);

    // Leap day of a century leap year.
    SystemTime leap = fileTimeToSystemTime(fileTimeOf(134774 + 11016, 0));
    EXPECT_EQ(leap.year, 2000);
    EXPECT_EQ(leap.month, 2);
    EXPECT_EQ(leap.day, 29);
}

TEST(Platform, ClockIsCurrentAndMonotoneEnough) {
    const uint64 first = preciseFileTime();
    const uint64 second = preciseFileTime();
    EXPECT_LE(first, second);
    const SystemTime now = systemTime();
    EXPECT_GE(now.year, 2024);
    EXPECT_LE(now.month, 12);
}

TEST(Platform, ExecutablePathNamesThisTestProgram) {
    WideChar buffer[1024];
    uint32 error = 0;
    const uint32 length = executablePath(buffer, 1024, &error);
    ASSERT_GT(length, 0u);
    EXPECT_EQ(buffer[length], 0);
    uint32 nameStart = 0;
    for (uint32 i = 0; i < length; ++i)
        if (isPathSeparator(buffer[i]))
            nameStart = i + 1;
    const char expected[] = "zor_common_tests";
    for (uint32 i = 0; i + 1 < sizeof expected; ++i)
        EXPECT_EQ(buffer[nameStart + i], static_cast<WideChar>(expected[i]));
}

TEST(Platform, MissingLibraryReportsAnErrorCode) {
    const WideChar path[] = {'n', 'o', '_', 's', 'u', 'c', 'h', '.', 'd', 'l', 'l', 0};
    uint32 error = 0;
    EXPECT_EQ(loadLibrary(path, &error), nullptr);
    EXPECT_NE(error, 0u);
}

TEST(Platform, ProcessAndThreadIdentifiers) {
    EXPECT_NE(currentProcessId(), 0u);
    EXPECT_NE(currentThreadId(), 0u);
    EXPECT_EQ(startSockets(), 0);
    stopSockets();
}

} // namespace
} // namespace zor::platform
