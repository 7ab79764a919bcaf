#include "common/platform/Platform.h"

#include <gtest/gtest.h>

#include <algorithm>
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
    // Year, month, day of week, day, hour, minute, second, millisecond. 1970-01-01 is day 134774.
    const std::pair<uint64, std::array<uint16, 8>> cases[] = {
        {0, {1601, 1, 1, 1, 0, 0, 0, 0}},
        {fileTimeOf(134774 + 20790, 23 * 3600 + 36, 1234567), {2026, 12, 4, 3, 23, 0, 36, 123}},
        {fileTimeOf(134774 + 11016, 0), {2000, 2, 2, 29, 0, 0, 0, 0}}, // leap day of a century leap year
        {0x7FFFFFFFFFFFFFFFull, {30828, 9, 4, 14, 2, 48, 5, 477}},
        // The system conversion refuses values with the sign bit set; both platforms give zeros.
        {0x8000000000000000ull, {0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& [fileTime, expected] : cases)
        EXPECT_EQ(fieldsOf(fileTimeToSystemTime(fileTime)), expected) << fileTime;

    // The precise clock agrees with the calendar clock (they may be a tick apart).
    const auto secondsOf = [](const SystemTime& time) {
        return time.hour * 3600 + time.minute * 60 + time.second;
    };
    const SystemTime before = systemTime();
    const SystemTime precise = fileTimeToSystemTime(preciseFileTime());
    const SystemTime after = systemTime();
    if (before.day != after.day)
        GTEST_SKIP() << "the day changed during the test";
    EXPECT_GE(before.year, 2024);
    EXPECT_EQ((std::array{precise.year, precise.month, precise.day}),
              (std::array{after.year, after.month, after.day}));
    EXPECT_GE(secondsOf(precise) + 1, secondsOf(before));
    EXPECT_LE(secondsOf(precise), secondsOf(after) + 1);
}

TEST(Platform, ExecutablePathNamesThisProgramAndIsCutToTheBuffer) {
    WideChar full[1024];
    uint32 error = 0;
    const uint32 length = executablePath(full, 1024, &error);
    ASSERT_GT(length, 4u);
    EXPECT_EQ(full[length], 0);
    uint32 nameStart = 0;
    for (uint32 i = 0; i < length; ++i)
        if (isPathSeparator(full[i]))
            nameStart = i + 1;
    const char expected[] = "zor_common_tests";
    EXPECT_TRUE(std::equal(expected, expected + sizeof expected - 1, full + nameStart));

    WideChar small[5] = {1, 1, 1, 1, 1};
    EXPECT_EQ(executablePath(small, 5, &error), 4u);
    EXPECT_TRUE(std::equal(small, small + 4, full));
    EXPECT_EQ(small[4], 0);
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
    EXPECT_NE(currentThreadId(), 0u);
    EXPECT_EQ(startSockets(), 0);
    stopSockets();

    const WideChar missing[] = {'n', 'o', '_', 's', 'u', 'c', 'h', '.', 'd', 'l', 'l', 0};
    error = 0;
    EXPECT_EQ(loadLibrary(missing, &error), nullptr);
    EXPECT_NE(error, 0u);
}

} // namespace
} // namespace zor::platform
