#include "host/app/HostApplicationData.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace zor {
namespace {

namespace fs = std::filesystem;

std::string fileContent(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

// A folder of its own under the system's temporary folder, removed afterwards.
class HostApplicationDataTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        m_folder = fs::temp_directory_path() / (std::string("zor_host_record_") + test->name());
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    static HostApplicationData* newRecord(const fs::path& logFolder) {
        HostApplicationData::Settings settings;
        settings.logDirectory = reinterpret_cast<const char*>((logFolder / "").u8string().c_str());
        return new HostApplicationData(settings);
    }

    fs::path m_folder;
};

TEST_F(HostApplicationDataTest, LogFileIsCreatedOnceAndEveryTextReachesIt) {
    HostApplicationData* record = newRecord(m_folder);
    record->openLog("zor_host", "zor_host_2026-12-03_230036123");
    ASSERT_TRUE(record->isLogFileOpen());
    const fs::path file = m_folder / "zor_host_2026-12-03_230036123.log";
    EXPECT_EQ(fs::path(reinterpret_cast<const char8_t*>(record->logFilePath().c_str())), file);

    // Each text is on disk as soon as it is written, line ends untouched.
    record->writeLog("first line\r\n");
    EXPECT_EQ(fileContent(file), "first line\r\n");
    record->openLog("zor_host", "another_name");
    record->writeLog("notice\r\nrepeat\r\nnext\r\n");
    EXPECT_EQ(fileContent(file), "first line\r\nnotice\r\nrepeat\r\nnext\r\n");
    EXPECT_FALSE(fs::exists(m_folder / "another_name.log"));

    // Slot 0 closes the file: it can go away afterwards, on every platform.
    record->deletingDestructor(1);
    EXPECT_TRUE(fs::remove(file));
}

TEST_F(HostApplicationDataTest, LogInAMissingFolderIsDroppedQuietly) {
    HostApplicationData* record = newRecord(m_folder / "missing");
    record->openLog("zor_host", "zor_host_log");
    EXPECT_FALSE(record->isLogFileOpen());
    EXPECT_FALSE(record->logFilePath().isEmpty());
    record->writeLog("nowhere\r\n");
    EXPECT_TRUE(fs::is_empty(m_folder));
    record->deletingDestructor(1);
}

} // namespace
} // namespace zor
