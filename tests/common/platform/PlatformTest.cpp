#include "common/platform/Platform.h"

#include <gtest/gtest.h>

#include <cstdint>

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

TEST(Platform, FileTimeOutsideTheCalendarGivesZeros) {
    // The last representable instant, and the first value the system conversion refuses.
    const SystemTime last = fileTimeToSystemTime(0x7FFFFFFFFFFFFFFFull);
    EXPECT_EQ(last.year, 30828);
    EXPECT_EQ(last.month, 9);
    EXPECT_EQ(last.day, 14);
    EXPECT_EQ(last.hour, 2);
    EXPECT_EQ(last.minute, 48);
    EXPECT_EQ(last.second, 5);
    EXPECT_EQ(last.milliseconds, 477);

    const SystemTime refused = fileTimeToSystemTime(0x8000000000000000ull);
    EXPECT_EQ(refused.year, 0);
    EXPECT_EQ(refused.month, 0);
    EXPECT_EQ(refused.day, 0);
    EXPECT_EQ(refused.milliseconds, 0);
}

TEST(Platform, PreciseClockAgreesWithTheCalendarClock) {
    const auto secondsOfDay = [](const SystemTime& time) {
        return time.hour * 3600 + time.minute * 60 + time.second;
    };
    const SystemTime before = systemTime();
    const SystemTime precise = fileTimeToSystemTime(preciseFileTime());
    const SystemTime after = systemTime();
    if (before.day != after.day)
        GTEST_SKIP() << "the day changed during the test";
    EXPECT_EQ(precise.year, before.year);
    EXPECT_EQ(precise.month, before.month);
    EXPECT_EQ(precise.day, before.day);
    EXPECT_EQ(precise.dayOfWeek, before.dayOfWeek);
    // The two clocks may be a tick apart.
    EXPECT_GE(secondsOfDay(precise) + 1, secondsOfDay(before));
    EXPECT_LE(secondsOfDay(precise), secondsOfDay(after) + 1);
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

TEST(Platform, ExecutablePathIsTruncatedToTheBuffer) {
    WideChar full[1024];
    uint32 error = 0;
    const uint32 length = executablePath(full, 1024, &error);
    ASSERT_GT(length, 4u);

    WideChar small[5] = {1, 1, 1, 1, 1};
    EXPECT_EQ(executablePath(small, 5, &error), 4u);
    EXPECT_EQ(small[4], 0);
    for (uint32 i = 0; i < 4; ++i)
        EXPECT_EQ(small[i], full[i]);

    error = 0;
    EXPECT_EQ(executablePath(small, 0, &error), 0u);
    EXPECT_NE(error, 0u);
}

TEST(Platform, LoadsASystemLibraryAndFindsItsExports) {
#ifdef _WIN32
    const WideChar path[] = L"kernel32.dll";
    const char* processIdFunction = "GetCurrentProcessId";
#else
    const WideChar path[] = u"libc.so.6";
    const char* processIdFunction = "getpid";
#endif
    uint32 error = 0;
    LibraryHandle library = loadLibrary(path, &error);
    ASSERT_NE(library, nullptr) << "error " << error;

    void* symbol = findSymbol(library, processIdFunction);
    ASSERT_NE(symbol, nullptr);
    // Both functions take no argument and return the process id in (at least) 32 bits.
    const auto processId = reinterpret_cast<unsigned long (*)()>(reinterpret_cast<std::uintptr_t>(symbol));
    EXPECT_EQ(static_cast<uint32>(processId()), currentProcessId());
    EXPECT_EQ(findSymbol(library, "zorNoSuchExport"), nullptr);
}

TEST(Platform, MissingLibraryReportsAnErrorCode) {
    const WideChar path[] = {'n', 'o', '_', 's', 'u', 'c', 'h', '.', 'd', 'l', 'l', 0};
    uint32 error = 0;
    EXPECT_EQ(loadLibrary(path, &error), nullptr);
#ifdef _WIN32
    EXPECT_EQ(error, 126u); // ERROR_MOD_NOT_FOUND
#else
    EXPECT_NE(error, 0u);
#endif
}

TEST(Platform, ProcessAndThreadIdentifiers) {
    EXPECT_NE(currentProcessId(), 0u);
    EXPECT_NE(currentThreadId(), 0u);
    EXPECT_EQ(startSockets(), 0);
    stopSockets();
}

} // namespace
} // namespace zor::platform
