#include "host/app/HostApplicationData.h"
#include "host/app/HostArguments.h"

#include "common/platform/Platform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

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

// Reads `arguments` for a program in "/opt/zor/": "" when they are read, else the reason.
std::string parse(const std::vector<const char*>& arguments, HostArguments& parsed) {
    List<String> list;
    for (const char* argument : arguments)
        list.pushBack(String(argument));
    String error;
    return parseHostArguments(list, String("/opt/zor/"), parsed, error) ? "" : error.c_str();
}

TEST(HostArguments, OptionsAreReadFoldersDefaultToTheProgramsRefusalsSayWhyAndTheCommandFollows) {
    HostArguments parsed;
    const auto& settings = parsed.settings;
    ASSERT_EQ("", parse({"--log-dir", "logs", "--log-level", "TRACE", "--echo", "--framework-version",
                         "16777215.0.65535", "-h"},
                        parsed));
    // A folder gets its separator; the module folder is the program's.
    EXPECT_STREQ(settings.logDirectory.c_str(), platform::isPathSeparator(u'\\') ? "logs\\" : "logs/");
    EXPECT_TRUE(settings.librariesDirectory == "/opt/zor/" && settings.consoleEcho && parsed.showHelp);
    EXPECT_EQ(settings.logLevel, LogLevelTrace);
    EXPECT_EQ(settings.frameworkVersion, makeFrameworkVersion(0xFFFFFF, 0, 0xFFFF));

    // clang-format off
    const std::pair<std::vector<const char*>, const char*> refusals[] = {
        {{"--loud"}, "unknown option --loud"}, {{"--log-level", "LOUD"}, "invalid log level LOUD"},
        {{"--log-level"}, "--log-level needs a value"}, {{"--log-dir", ""}, "--log-dir needs a folder"},
        {{"--framework-version", "1.5.65536"}, "invalid framework version 1.5.65536"}};
    // clang-format on
    for (const auto& [arguments, reason] : refusals)
        EXPECT_EQ(parse(arguments, parsed), reason);

    // The first word that is no option starts the command.
    ASSERT_EQ("", parse({"--echo", "convert", "in.json", "--echo", "out.xml"}, parsed));
    ASSERT_EQ(4u, parsed.command.size());
    EXPECT_TRUE(parsed.command.front() == "convert" && parsed.command.back() == "out.xml");
    ASSERT_EQ("", parse({"--echo"}, parsed));
    EXPECT_TRUE(parsed.command.isEmpty());
}

} // namespace
} // namespace zor
