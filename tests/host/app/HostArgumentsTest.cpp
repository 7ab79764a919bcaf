#include "host/app/HostArguments.h"

#include "common/platform/Platform.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace zor {
namespace {

// Reads `arguments` for a program in "/opt/zor/": "" when they are read, else the reason.
std::string parse(const std::vector<const char*>& arguments, HostArguments& parsed) {
    List<String> list;
    for (const char* argument : arguments)
        list.pushBack(String(argument));
    String error;
    return parseHostArguments(list, String("/opt/zor/"), parsed, error) ? "" : error.c_str();
}

TEST(HostArguments, OptionsAreReadFoldersDefaultToTheProgramsAndRefusalsSayWhy) {
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
        {{"--verbose"}, "unknown option --verbose"}, {{"--log-level", "LOUD"}, "invalid log level LOUD"},
        {{"--log-level"}, "--log-level needs a value"}, {{"--log-dir", ""}, "--log-dir needs a folder"},
        {{"--framework-version", "1.5.65536"}, "invalid framework version 1.5.65536"}};
    // clang-format on
    for (const auto& [arguments, reason] : refusals)
        EXPECT_EQ(parse(arguments, parsed), reason);
}

TEST(HostArguments, TheFirstWordThatIsNoOptionStartsTheCommand) {
    HostArguments parsed;
    ASSERT_EQ("", parse({"--echo", "convert", "in.json", "--echo", "out.xml"}, parsed));
    ASSERT_EQ(4u, parsed.command.size());
    EXPECT_TRUE(parsed.command.front() == "convert" && parsed.command.back() == "out.xml");
    ASSERT_EQ("", parse({"--echo"}, parsed));
    EXPECT_TRUE(parsed.command.isEmpty());
}

} // namespace
} // namespace zor
