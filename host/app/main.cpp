// zor_host: the reference host's command-line program. It creates the host record, loads the
// physics module from the libraries folder, brings it up with physicsInitialize, runs the command
// and runs the tear-down list before it ends. The start-up report is printed without a command
// and with --verbose.

#include "common/application/Libraries.h"
#include "common/platform/NativePath.h"
#include "common/platform/Platform.h"
#include "host/app/HostArguments.h"
#include "host/app/HostCommands.h"
#include "host/core/HostFactory.h"
#include "host/io/Utf8Check.h"

#include <cstdio>

namespace {

using zor::ApplicationData;
using zor::HostApplicationData;
using zor::List;
using zor::String;

using PhysicsInitialize = bool (*)(ApplicationData*);

constexpr const char* kLogModule = "zor_host";

using zor::kExitCannotStart;
using zor::kExitModuleUnreachable;
using zor::kExitUsage;

// Whether the start-up report is printed: without a command, or with --verbose.
bool g_report = true;

// A line of the start-up report.
template <typename... Arguments>
void report(const char* format, Arguments... arguments) {
    if (g_report)
        std::printf(format, arguments...);
}

// The folder of the running program with its separator, by the system's own path rules. False
// when the program's path cannot be read whole: modules from any other folder are not ours.
bool findExecutableDirectory(String& directory) {
    String path;
    zor::uint32 error = 0;
    if (!zor::platform::executablePath(path, &error)) {
        std::fprintf(stderr, "zor_host: cannot read the program's own path (system error %lu)\n",
                     static_cast<unsigned long>(error));
        return false;
    }
    zor::platform::splitNativePath(path, &directory);
    return true;
}

const char* stateText(zor::uint32 state) {
    switch (state) {
    case zor::DependencyNotInitialized:
        return "not initialized";
    case zor::DependencyInitialized:
        return "initialized";
    case zor::DependencyFailed:
        return "failed";
    default:
        return "unknown";
    }
}

// The classes the module registered with the host's factory, in registration order.
void printRegisteredClasses() {
    List<String> typeNames;
    zor::host::registeredTypeNames(typeNames);
    report("  registered classes: %llu\n", static_cast<unsigned long long>(typeNames.size()));
    for (const String& typeName : typeNames)
        report("    %s\n", typeName.c_str());
}

// Loads the module and calls its entry point: 0 when it is ready, 1 when it refused, 3 when it
// could not be reached.
int startPhysicsModule(HostApplicationData& record) {
    String path = record.m_librariesDirectory;
    path.pushBackUTF8String("zor_physics.dll");
    zor_log(kLogModule, false, zor::LogLevelInfo, "main", "Loading module:\"%s\"", path.c_str());
    report("Loading %s\n", path.c_str());

    zor::platform::LibraryHandle library = zor_loadLibrary(path);
    if (library == nullptr) {
        std::fprintf(stderr, "zor_host: the physics module %s could not be loaded (the log says why)\n",
                     path.c_str());
        return kExitModuleUnreachable;
    }
    const auto initialize =
        reinterpret_cast<PhysicsInitialize>(zor::platform::findSymbol(library, "physicsInitialize"));
    if (initialize == nullptr) {
        zor_log(kLogModule, false, zor::LogLevelError, "main",
                "Unable to get function:\"physicsInitialize\"");
        std::fprintf(stderr, "zor_host: the physics module %s has no physicsInitialize\n", path.c_str());
        return kExitModuleUnreachable;
    }

    const bool ready = initialize(&record);
    if (!ready)
        std::fprintf(stderr, "zor_host: the physics module refused to start (the log says why)\n");
    report("physicsInitialize: %s\n",
           ready ? "the physics module is ready" : "the physics module refused to start");
    report("  dependencies: common %s, core %s, project %s, geometry %s\n", stateText(record.m_commonState),
           stateText(record.m_coreState), stateText(record.m_projectState),
           stateText(record.m_geometryState));
    zor_log(kLogModule, false, ready ? zor::LogLevelInfo : zor::LogLevelError, "main",
            "physicsInitialize returned %s", ready ? "true" : "false");
    if (ready)
        printRegisteredClasses();
    return ready ? 0 : 1;
}

// Ends the host: the record goes, the process-wide pointer with it.
int endHost(HostApplicationData* record, int exitCode) {
    zor::setApplicationData(nullptr);
    record->deletingDestructor(1);
    return exitCode;
}

// The command named on the command line with its operands; false after saying what is wrong.
bool findCommand(const List<String>& words, const zor::HostCommand*& command, List<String>& operands) {
    command = nullptr;
    if (words.isEmpty())
        return true;
    command = zor::findHostCommand(words.front());
    if (words.front() == "help") {
        const zor::HostCommand* asked = words.size() == 2 ? zor::findHostCommand(words.back()) : nullptr;
        if (asked == nullptr) {
            std::fprintf(stderr, "zor_host: usage: zor_host help COMMAND\n%s",
                         zor::hostCommandsUsage().c_str());
            return false;
        }
        std::printf("%s", zor::hostCommandHelp(*asked).c_str());
        return true;
    }
    if (command == nullptr) {
        std::fprintf(stderr, "zor_host: unknown command %s\n%s%s", words.front().c_str(), zor::hostUsage(),
                     zor::hostCommandsUsage().c_str());
        return false;
    }
    for (auto it = ++words.begin(); it != words.end(); ++it) {
        if (*it == "--help" || *it == "-h") {
            std::printf("%s", zor::hostCommandHelp(*command).c_str());
            command = nullptr;
            return true;
        }
        operands.pushBack(*it);
    }
    if (operands.size() < command->minimumOperands || operands.size() > command->maximumOperands) {
        std::fprintf(stderr,
                     "zor_host: usage: zor_host [options] %s %s\n(zor_host help %s for its options)\n",
                     command->name, command->operands, command->name);
        return false;
    }
    return true;
}

int runHost(const List<String>& arguments) {
    String programDirectory;
    if (!findExecutableDirectory(programDirectory))
        return kExitCannotStart;
    zor::HostArguments parsed;
    String error;
    if (!zor::parseHostArguments(arguments, programDirectory, parsed, error)) {
        // The message quotes what was typed, which may hold line breaks or control characters.
        std::fprintf(stderr, "zor_host: %s\n%s%s", zor::host::printableText(error.c_str()).c_str(),
                     zor::hostUsage(), zor::hostCommandsUsage().c_str());
        return kExitUsage;
    }
    if (parsed.showHelp) {
        std::printf("%s%s%s", zor::hostUsage(), zor::hostCommandsUsage().c_str(), zor::hostExitCodes());
        return 0;
    }
    if (parsed.showVersion) {
        String version;
        zor::formatFrameworkVersion(HostApplicationData::kFrameworkVersion, version);
        std::printf("zor_host %s (framework %s)\n", ZOR_HOST_VERSION, version.c_str());
        return 0;
    }
    const zor::HostCommand* command = nullptr;
    List<String> operands;
    if (!findCommand(parsed.command, command, operands))
        return kExitUsage;
    // Help was asked for and given.
    if (command == nullptr && !parsed.command.isEmpty())
        return 0;
    zor::setHostVerbosity(parsed.verbosity);
    g_report = parsed.verbosity == zor::HostVerbosity::Verbose ||
               (command == nullptr && parsed.verbosity != zor::HostVerbosity::Quiet);

    auto* record = new HostApplicationData(parsed.settings);
    zor::setApplicationData(record);
    // The log is opened now rather than at the first message, so that a folder it cannot be
    // written to stops the host before anything runs.
    zor::openApplicationLog(*record);
    if (!record->isLogFileOpen()) {
        std::fprintf(stderr, "zor_host: cannot write the log file in the folder %s: %s\n",
                     record->logDirectory().c_str(), record->logFileError().c_str());
        return endHost(record, kExitCannotStart);
    }
    String version;
    zor::formatFrameworkVersion(record->m_frameworkVersion, version);
    report("zor_host: framework version %s, modules from %s\n", version.c_str(),
           record->m_librariesDirectory.c_str());

    int exitCode = startPhysicsModule(*record);
    if (exitCode == 0 && command != nullptr)
        exitCode = command->run(operands);

    const zor::uint64 callbacks = record->m_deinitializeCallbacks.size();
    record->runDeinitializeCallbacks();
    report("Tear-down: %llu callback%s run\n", static_cast<unsigned long long>(callbacks),
           callbacks == 1 ? "" : "s");
    report("Log file: %s\n", record->logFilePath().c_str());
    return endHost(record, exitCode);
}

} // namespace

#if defined(_WIN32)
// The wide entry point: the arguments arrive as UTF-16 whatever the system's code page.
int wmain(int argc, wchar_t** argv) {
    List<String> arguments;
    for (int i = 1; i < argc; ++i) {
        String argument;
        argument.pushBack(argv[i]);
        arguments.pushBack(argument);
    }
    return runHost(arguments);
}
#else
int main(int argc, char** argv) {
    List<String> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.pushBack(String(argv[i]));
    return runHost(arguments);
}
#endif
