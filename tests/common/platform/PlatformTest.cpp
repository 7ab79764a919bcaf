#include "common/platform/Platform.h"

#include "common/containers/String.h"
#include "common/platform/NativePath.h"
#include "common/platform/ReadWriteLock.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace zor::platform {
namespace {

// All fields in SYSTEMTIME order, so that one comparison shows every difference at once.
std::array<uint16, 8> fieldsOf(const SystemTime& t) {
    return {t.year, t.month, t.dayOfWeek, t.day, t.hour, t.minute, t.second, t.milliseconds};
}

TEST(Platform, FileTimeConvertsToCalendarTime) {
    // Year, month, day of week, day, hour, minute, second, millisecond. 1970-01-01 is day 134774.
    constexpr uint64 kSecond = 10000000u, kDay = 86400 * kSecond, k1970 = 134774 * kDay;
    const std::pair<uint64, std::array<uint16, 8>> cases[] = {
        {0, {1601, 1, 1, 1, 0, 0, 0, 0}},
        {k1970 + 20790 * kDay + (23 * 3600 + 36) * kSecond + 1234567, {2026, 12, 4, 3, 23, 0, 36, 123}},
        {k1970 + 11016 * kDay, {2000, 2, 2, 29, 0, 0, 0, 0}}, // leap day of a century leap year
        {0x7FFFFFFFFFFFFFFFull, {30828, 9, 4, 14, 2, 48, 5, 477}},
        // The system conversion refuses values with the sign bit set; both platforms give zeros.
        {0x8000000000000000ull, {0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& [fileTime, expected] : cases)
        EXPECT_EQ(fieldsOf(fileTimeToSystemTime(fileTime)), expected) << fileTime;

    // The precise clock reads the same UTC calendar time as the system clock (a tick apart at most).
    const auto hourOf = [](const SystemTime& t) { return std::array{t.year, t.month, t.day, t.hour}; };
    const SystemTime before = systemTime(), precise = fileTimeToSystemTime(preciseFileTime()),
                     after = systemTime();
    EXPECT_GE(before.year, 2024);
    EXPECT_TRUE(hourOf(precise) == hourOf(before) || hourOf(precise) == hourOf(after));
}

TEST(Platform, ProcessServices) {
    // The executable's whole path names this program.
    String path;
    uint32 error = 0;
    ASSERT_TRUE(executablePath(path, &error)) << error;
    const std::string text(path.c_str(), path.length());
    EXPECT_TRUE(text.ends_with("/zor_common_tests") || text.ends_with("\\zor_common_tests.exe")) << text;

    // A system library loads and its process id export agrees with ours; a missing one is
    // refused with the system's reason: the error code on Windows, the loader's text elsewhere.
#ifdef _WIN32
    const char *systemLibrary = "kernel32.dll", *processIdFunction = "GetCurrentProcessId";
    const char* missingReason = "126";
#else
    const char *systemLibrary = "libc.so.6", *processIdFunction = "getpid";
    const char* missingReason = "no_such.dll: cannot open shared object file: No such file or directory";
#endif
    String reason;
    LibraryHandle library = loadLibrary(String(systemLibrary), reason);
    ASSERT_NE(library, nullptr) << reason.c_str();
    void* symbol = findSymbol(library, processIdFunction);
    ASSERT_NE(symbol, nullptr);
    // Both functions take no argument and return the process id in (at least) 32 bits.
    const auto processId = reinterpret_cast<unsigned long (*)()>(reinterpret_cast<std::uintptr_t>(symbol));
    EXPECT_EQ(static_cast<uint32>(processId()), currentProcessId());
    EXPECT_EQ(findSymbol(library, "zorNoSuchExport"), nullptr);
    EXPECT_EQ(loadLibrary(String("no_such.dll"), reason), nullptr);
    EXPECT_STREQ(reason.c_str(), missingReason);
    EXPECT_NE(currentThreadId(), 0u);
    EXPECT_EQ(startSockets(), 0);
    stopSockets();
}

std::string text(const String& string) {
    return std::string(string.c_str(), string.length());
}

TEST(NativePath, SplitsAtTheSystemsOwnSeparators) {
    const bool windows = isPathSeparator(u'\\');
    // Path, folder, file name. A backslash separates folders on Windows only; elsewhere it is
    // part of a name. Bytes that are not UTF-8 and characters outside the BMP pass untouched.
    const std::string cases[][3] = {
        {"/opt/back\\slash/zor_host", "/opt/back\\slash/", "zor_host"},
        {"/opt/back\\slash", windows ? "/opt/back\\" : "/opt/", windows ? "slash" : "back\\slash"},
        {"C:\\zor\\bin\\zor_host.exe", windows ? "C:\\zor\\bin\\" : "",
         windows ? "zor_host.exe" : "C:\\zor\\bin\\zor_host.exe"},
        {"/srv/\xF0\x9F\x98\x80/\xFF\xFE/zor_host", "/srv/\xF0\x9F\x98\x80/\xFF\xFE/", "zor_host"},
        {"/zor_host", "/", "zor_host"},
        {"/srv/bin/", "/srv/bin/", ""},
        {"zor_host", "", "zor_host"},
        {"", "", ""},
    };
    for (const auto& [path, folder, name] : cases) {
        String directory("unchanged?");
        EXPECT_EQ(text(splitNativePath(String(path.c_str(), path.size()), &directory)), name) << path;
        EXPECT_EQ(text(directory), folder) << path;
        EXPECT_EQ(text(splitNativePath(String(path.c_str(), path.size()), nullptr)), name) << path;
    }
}

TEST(ReadWriteLock, ReadersShareAndWritersExclude) {
    ReadWriteLock lock;
    // Each reader waits, while holding the lock, until the other one holds it too; an
    // implementation that serialises readers never gets both inside.
    std::atomic<int> inside{0}, overlapped{0};
    const auto reader = [&] {
        ScopedReadWriteLock hold(lock, ScopedReadWriteLock::Shared);
        inside.fetch_add(1);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (inside.load() < 2 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();
        overlapped.fetch_add(inside.load() == 2 ? 1 : 0);
    };
    std::thread first(reader), second(reader);
    first.join();
    second.join();
    EXPECT_EQ(overlapped.load(), 2);

    // Writers among readers: the one release serves the mode the current holder recorded.
    long counter = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 6; ++t)
        threads.emplace_back([&, writer = t < 4] {
            for (int i = 0; i < 20000; ++i) {
                ScopedReadWriteLock hold(lock, writer ? ScopedReadWriteLock::Exclusive
                                                      : ScopedReadWriteLock::Shared);
                EXPECT_EQ(lock.isHeldShared(), !writer);
                if (writer)
                    ++counter;
            }
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(counter, 80000);
}

} // namespace
} // namespace zor::platform
