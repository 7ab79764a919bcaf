#include "host/app/HostApplicationData.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace zor {
namespace {

namespace fs = std::filesystem;

std::string fileContent(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

HostApplicationData* newRecord(const fs::path& logFolder) {
    HostApplicationData::Settings settings;
    settings.logDirectory = reinterpret_cast<const char*>((logFolder / "").u8string().c_str());
    return new HostApplicationData(settings);
}

TEST(HostApplicationData, LogFileIsCreatedOnceAndEveryTextReachesIt) {
    const fs::path folder = fs::temp_directory_path() / "zor_host_record_test";
    fs::remove_all(folder);
    fs::create_directories(folder);
    HostApplicationData* record = newRecord(folder);
    record->openLog("zor_host", "zor_host_2026-12-03_230036123");
    ASSERT_TRUE(record->isLogFileOpen());
    const fs::path file = folder / "zor_host_2026-12-03_230036123.log";
    EXPECT_EQ(fs::path(reinterpret_cast<const char8_t*>(record->logFilePath().c_str())), file);

    // Each text is on disk as soon as it is written, line ends untouched.
    record->writeLog("first line\r\n");
    EXPECT_EQ(fileContent(file), "first line\r\n");
    record->openLog("zor_host", "another_name");
    record->writeLog("notice\r\nrepeat\r\n");
    EXPECT_EQ(fileContent(file), "first line\r\nnotice\r\nrepeat\r\n");
    // Slot 0 closes the file: it can go away afterwards, on every platform.
    record->deletingDestructor(1);
    EXPECT_TRUE(fs::remove(file));

    // A log in a missing folder is dropped quietly.
    record = newRecord(folder / "missing");
    record->openLog("zor_host", "zor_host_log");
    EXPECT_FALSE(record->isLogFileOpen());
    record->writeLog("nowhere\r\n");
    record->deletingDestructor(1);
    EXPECT_TRUE(fs::is_empty(folder)) << "no other file was made";
    fs::remove_all(folder);
}

} // namespace
} // namespace zor
