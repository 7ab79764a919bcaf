#include "common/platform/Platform.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

namespace zor::platform {
namespace {

uint64 fileTimeOf(uint64 daysSince1601, uint64 secondsOfDay, uint64 hundredNanoseconds = 0) {
    return (daysSince1601 * 86400u + secondsOfDay) * 10000000u + hundredNanoseconds;
}

// All fields in SYSTEMTIME order, so that one comparison shows every difference at once.
std::array<uint16, 8> fieldsOf(const SystemTime& time) {
    return {time.year, time.month,  time.dayOfWeek, time.day,
            time.hour, time.minute, time.second,    time.milliseconds};
}

TEST(Platform, FileTimeConvertsToCalendarTime) {
    struct Case {
        const char* what;
        uint64 fileTime;
        std::array<uint16, 8> expected; // year, month, day of week, day, h, min, s, ms
    };
    const Case cases[] = {
        {"origin, a Monday", 0, {1601, 1, 1, 1, 0, 0, 0, 0}},
        // 1970-01-01 is day 134774; 2026-12-03 lies 20790 days later.
        {"a Thursday evening",
         fileTimeOf(134774 + 20790, 23 * 3600 + 36, 1234567),
         {2026, 12, 4, 3, 23, 0, 36, 123}},
        {"leap day of a century leap year", fileTimeOf(134774 + 11016, 0), {2000, 2, 2, 29, 0, 0, 0, 0}},
        {"last representable instant", 0x7FFFFFFFFFFFFFFFull, {30828, 9, 4, 14, 2, 48, 5, 477}},
        // The system conversion refuses values with the sign bit set; both platforms give zeros.
        {"refused", 0x8000000000000000ull, {0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fieldsOf(fileTimeToSystemTime(c.fileTime)), c.expected) << c.what;
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
