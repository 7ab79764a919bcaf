#include "host/app/HostArguments.h"

#include "common/platform/Platform.h"

#include <cerrno>
#include <cstdlib>

namespace zor {
namespace {

void endWithSeparator(String& directory) {
    const uint64 length = directory.length();
    if (length != 0 && platform::isPathSeparator(static_cast<WideChar>(directory.c_str()[length - 1])))
        return;
    directory.pushBackUTF8String(platform::isPathSeparator(u'\\') ? "\\" : "/");
}

// A whole decimal number no larger than `maximum`; `text` advances past it.
bool readNumber(const char*& text, uint64 maximum, uint64& value) {
    if (*text < '0' || *text > '9')
        return false;
    value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 + static_cast<uint64>(*text - '0');
        if (value > maximum)
            return false;
    }
    return true;
}

bool parseVersion(const String& text, uint64& version) {
    const char* cursor = text.c_str();
    uint64 major = 0;
    uint64 minor = 0;
    uint64 patch = 0;
    if (!readNumber(cursor, 0xFFFFFF, major) || *cursor++ != '.' || !readNumber(cursor, 0xFFFFFF, minor) ||
        *cursor++ != '.' || !readNumber(cursor, 0xFFFF, patch) || *cursor != '\0')
        return false;
    version = makeFrameworkVersion(major, minor, patch);
    return true;
}

bool parseLogLevel(const String& text, int32& level) {
    static const char* const names[] = {"ERROR", "WARN", "INFO", "DEBUG", "TRACE"};
    for (int32 i = 0; i < 5; ++i) {
        if (text == names[i]) {
            level = LogLevelError + i;
            return true;
        }
    }
    // Levels outside 1-5 are valid thresholds too: 0 lets only unnamed levels of 0 or less through.
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (text.isEmpty() || *end != '\0' || errno != 0 || value < INT32_MIN || value > INT32_MAX)
        return false;
    level = static_cast<int32>(value);
    return true;
}

} // namespace

bool parseHostArguments(const List<String>& arguments, const String& executableDirectory, HostArguments& out,
                        String& error) {
    out = HostArguments{};
    out.settings.librariesDirectory = executableDirectory;
    out.settings.logDirectory = executableDirectory;

    for (auto it = arguments.begin(); it != arguments.end(); ++it) {
        const String& option = *it;
        if (!option.isEmpty() && option.c_str()[0] != '-') {
            for (; it != arguments.end(); ++it)
                out.command.pushBack(*it);
            return true;
        }
        if (option == "-h" || option == "--help") {
            out.showHelp = true;
            continue;
        }
        if (option == "--version") {
            out.showVersion = true;
            continue;
        }
        if (option == "--quiet" || option == "--verbose") {
            out.verbosity = option == "--quiet" ? HostVerbosity::Quiet : HostVerbosity::Verbose;
            continue;
        }
        if (option == "--echo") {
            out.settings.consoleEcho = true;
            continue;
        }
        const bool takesValue = option == "--libraries-dir" || option == "--log-dir" ||
                                option == "--log-level" || option == "--framework-version";
        if (!takesValue) {
            error.format("unknown option %s", option.c_str());
            return false;
        }
        if (++it == arguments.end()) {
            error.format("%s needs a value", option.c_str());
            return false;
        }
        const String& value = *it;
        if (option == "--libraries-dir" || option == "--log-dir") {
            if (value.isEmpty()) {
                error.format("%s needs a folder", option.c_str());
                return false;
            }
            String& directory =
                option == "--libraries-dir" ? out.settings.librariesDirectory : out.settings.logDirectory;
            directory = value;
            endWithSeparator(directory);
        } else if (option == "--log-level") {
            if (!parseLogLevel(value, out.settings.logLevel)) {
                error.format("invalid log level %s", value.c_str());
                return false;
            }
        } else if (!parseVersion(value, out.settings.frameworkVersion)) {
            error.format("invalid framework version %s", value.c_str());
            return false;
        }
    }
    return true;
}

const char* hostUsage() {
    return "usage: zor_host [options] [command operands...]\n"
           "       zor_host help COMMAND\n"
           "Loads zor_physics.dll with a host record, brings it up, runs the command and tears it\n"
           "down again.\n"
           "  --libraries-dir DIR        folder of the modules (default: the program's folder)\n"
           "  --log-dir DIR              folder of the log file (default: the program's folder)\n"
           "  --log-level LEVEL          ERROR, WARN, INFO (default), DEBUG, TRACE or a number\n"
           "  --echo                     also print the messages that ask for it on the console\n"
           "  --framework-version X.Y.Z  the framework version the host reports (default 1.5.0)\n"
           "  --verbose                  print the start-up report before the command\n"
           "  --quiet                    print errors only (and a command's own results)\n"
           "  --version                  the host's version\n"
           "  -h, --help                 this text\n"
           "Without a command, zor_host brings the physics module up and prints the start-up report.\n";
}

} // namespace zor
