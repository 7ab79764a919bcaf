#include "host/app/HostArguments.h"

#include "common/platform/Platform.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace zor {
namespace {

List<String> argumentList(std::initializer_list<const char*> arguments) {
    List<String> list;
    for (const char* argument : arguments)
        list.pushBack(String(argument));
    return list;
}

TEST(HostArguments, FoldersDefaultToTheExecutablesAndEveryOptionIsRead) {
    HostArguments parsed;
    String error;
    ASSERT_TRUE(parseHostArguments(argumentList({}), "/opt/zor/", parsed, error));
    EXPECT_TRUE(parsed.settings.librariesDirectory == "/opt/zor/" &&
                parsed.settings.logDirectory == "/opt/zor/");

    ASSERT_TRUE(
        parseHostArguments(argumentList({"--libraries-dir", "mods", "--log-dir", "logs/", "--log-level",
                                         "TRACE", "--echo", "--framework-version", "16777215.0.65535", "-h"}),
                           "/opt/zor/", parsed, error));
    // A folder gets its separator unless it has one.
    EXPECT_STREQ(parsed.settings.librariesDirectory.c_str(),
                 platform::isPathSeparator(u'\\') ? "mods\\" : "mods/");
    EXPECT_TRUE(parsed.settings.logDirectory == "logs/");
    EXPECT_EQ(parsed.settings.logLevel, LogLevelTrace);
    EXPECT_TRUE(parsed.settings.consoleEcho && parsed.showHelp);
    EXPECT_EQ(parsed.settings.frameworkVersion, makeFrameworkVersion(0xFFFFFF, 0, 0xFFFF));
    // Numbers outside the named levels are thresholds too.
    ASSERT_TRUE(parseHostArguments(argumentList({"--log-level", "-3"}), "", parsed, error));
    EXPECT_EQ(parsed.settings.logLevel, -3);
}

TEST(HostArguments, RefusalsSayWhy) {
    const struct {
        std::initializer_list<const char*> arguments;
        const char* error;
    } cases[] = {
        {{"--verbose"}, "unknown option --verbose"},
        {{"--log-dir"}, "--log-dir needs a value"},
        {{"--libraries-dir", ""}, "--libraries-dir needs a folder"},
        {{"--log-level", "LOUD"}, "invalid log level LOUD"},
        {{"--framework-version", "1.5.65536"}, "invalid framework version 1.5.65536"},
        {{"--framework-version", "16777216.5.0"}, "invalid framework version 16777216.5.0"},
    };
    for (const auto& c : cases) {
        HostArguments parsed;
        String error;
        EXPECT_FALSE(parseHostArguments(argumentList(c.arguments), "", parsed, error)) << c.error;
        EXPECT_STREQ(error.c_str(), c.error);
    }
}

} // namespace
} // namespace zor
