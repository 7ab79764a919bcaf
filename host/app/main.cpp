// zor_host: the reference host's command-line program. It creates the host record, loads the
// physics module from the libraries folder, brings it up with physicsInitialize, reports the
// outcome and runs the tear-down list before it ends.

#include "common/application/Libraries.h"
#include "common/platform/Platform.h"
#include "host/app/HostArguments.h"
#include "host/app/HostCommands.h"
#include "host/core/HostFactory.h"

#include <cstdio>

namespace {

using zor::ApplicationData;
using zor::HostApplicationData;
using zor::List;
using zor::String;

using PhysicsInitialize = bool (*)(ApplicationData*);

constexpr const char* kLogModule = "zor_host";

// The folder of the running program, with its separator.
String executableDirectory() {
    zor::WideChar path[1024];
    zor::uint32 error = 0;
    if (zor::platform::executablePath(path, 1024, &error) == 0)
        return String();
    String fullPath;
    fullPath.pushBack(path);
    String directory;
    fullPath.splitPath(&directory);
    return directory;
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
    std::printf("  registered classes: %llu\n", static_cast<unsigned long long>(typeNames.size()));
    for (const String& typeName : typeNames)
        std::printf("    %s\n", typeName.c_str());
}

// Loads the module and calls its entry point: 0 when it is ready, 1 when it refused, 3 when it
// could not be reached.
int startPhysicsModule(HostApplicationData& record) {
    String path = record.m_librariesDirectory;
    path.pushBackUTF8String("zor_physics.dll");
    zor_log(kLogModule, false, zor::LogLevelInfo, "main", "Loading module:\"%s\"", path.c_str());
    std::printf("Loading %s\n", path.c_str());

    zor::platform::LibraryHandle library = zor_loadLibrary(path);
    if (library == nullptr) {
        std::printf("The physics module could not be loaded.\n");
        return 3;
    }
    const auto initialize =
        reinterpret_cast<PhysicsInitialize>(zor::platform::findSymbol(library, "physicsInitialize"));
    if (initialize == nullptr) {
        zor_log(kLogModule, false, zor::LogLevelError, "main",
                "Unable to get function:\"physicsInitialize\"");
        std::printf("The physics module has no physicsInitialize.\n");
        return 3;
    }

    const bool ready = initialize(&record);
    std::printf("physicsInitialize: %s\n",
                ready ? "the physics module is ready" : "the physics module refused to start");
    std::printf("  dependencies: common %s, core %s, project %s, geometry %s\n",
                stateText(record.m_commonState), stateText(record.m_coreState),
                stateText(record.m_projectState), stateText(record.m_geometryState));
    zor_log(kLogModule, false, ready ? zor::LogLevelInfo : zor::LogLevelError, "main",
            "physicsInitialize returned %s", ready ? "true" : "false");
    if (ready)
        printRegisteredClasses();
    return ready ? 0 : 1;
}

// The command named on the command line with its operands; false after saying what is wrong.
bool findCommand(const List<String>& words, const zor::HostCommand*& command, List<String>& operands) {
    command = nullptr;
    if (words.isEmpty())
        return true;
    command = zor::findHostCommand(words.front());
    if (command == nullptr) {
        std::fprintf(stderr, "zor_host: unknown command %s\n%s%s", words.front().c_str(), zor::hostUsage(),
                     zor::hostCommandsUsage().c_str());
        return false;
    }
    for (auto it = ++words.begin(); it != words.end(); ++it)
        operands.pushBack(*it);
    if (operands.size() < command->minimumOperands || operands.size() > command->maximumOperands) {
        std::fprintf(stderr, "zor_host: usage: zor_host [options] %s %s\n", command->name, command->operands);
        return false;
    }
    return true;
}

int runHost(const List<String>& arguments) {
    zor::HostArguments parsed;
    String error;
    if (!zor::parseHostArguments(arguments, executableDirectory(), parsed, error)) {
        std::fprintf(stderr, "zor_host: %s\n%s%s", error.c_str(), zor::hostUsage(),
                     zor::hostCommandsUsage().c_str());
        return 2;
    }
    if (parsed.showHelp) {
        std::printf("%s%s", zor::hostUsage(), zor::hostCommandsUsage().c_str());
        return 0;
    }
    const zor::HostCommand* command = nullptr;
    List<String> operands;
    if (!findCommand(parsed.command, command, operands))
        return 2;

    auto* record = new HostApplicationData(parsed.settings);
    zor::setApplicationData(record);
    String version;
    zor::formatFrameworkVersion(record->m_frameworkVersion, version);
    std::printf("zor_host: framework version %s, modules from %s\n", version.c_str(),
                record->m_librariesDirectory.c_str());

    int exitCode = startPhysicsModule(*record);
    if (exitCode == 0 && command != nullptr)
        exitCode = command->run(operands);

    const zor::uint64 callbacks = record->m_deinitializeCallbacks.size();
    record->runDeinitializeCallbacks();
    std::printf("Tear-down: %llu callback%s run\n", static_cast<unsigned long long>(callbacks),
                callbacks == 1 ? "" : "s");
    if (record->isLogFileOpen())
        std::printf("Log file: %s\n", record->logFilePath().c_str());
    else if (!record->logFilePath().isEmpty())
        std::printf("Log file: %s could not be created\n", record->logFilePath().c_str());
    else
        std::printf("Log file: none (nothing was logged)\n");

    zor::setApplicationData(nullptr);
    record->deletingDestructor(1);
    return exitCode;
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
