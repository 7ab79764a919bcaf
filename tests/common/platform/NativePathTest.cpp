#include "common/platform/NativePath.h"

#include "common/platform/Platform.h"

#include <gtest/gtest.h>

#include <string>

namespace zor::platform {
namespace {

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

} // namespace
} // namespace zor::platform
