#pragma once

#include "common/containers/List.h"
#include "common/containers/String.h"

namespace zor {

/// zor_host's exit codes, the same for every command.
inline constexpr int kExitRefused = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitModuleUnreachable = 3;
inline constexpr int kExitCannotStart = 4;
inline constexpr int kExitStopped = 5;

/// How much zor_host says besides a command's own results: errors only, the usual lines, or the
/// start-up report as well.
enum class HostVerbosity { Quiet, Normal, Verbose };

/// Set once from the command line, before a command runs.
HostVerbosity hostVerbosity();
void setHostVerbosity(HostVerbosity verbosity);

/// A command of zor_host, run once the physics module is up.
struct HostCommand {
    /// The word that names it on the command line.
    const char* name;
    /// Its operands ("IN OUT"), what it does, and its options with their defaults, for the help.
    const char* operands;
    const char* summary;
    const char* options;
    /// How many operands it takes, at least and at most.
    uint64 minimumOperands;
    uint64 maximumOperands;
    /// Runs it with its operands; returns the program's exit code.
    int (*run)(const List<String>& operands);
};

/// The command called `name`, or null.
const HostCommand* findHostCommand(const String& name);

/// The usage lines of every command.
String hostCommandsUsage();

/// The help of one command: its usage line, what it does and every option with its default.
String hostCommandHelp(const HostCommand& command);

/// The exit codes, for the help texts.
const char* hostExitCodes();

/// `read FILE`: ReadCommand.cpp.
int runReadCommand(const List<String>& operands);
/// `convert IN OUT`: ConvertCommand.cpp.
int runConvertCommand(const List<String>& operands);
/// `path IN OUT`: PathCommand.cpp.
int runPathCommand(const List<String>& operands);
/// `simulate SCENE [options]`: SimulateCommand.cpp.
int runSimulateCommand(const List<String>& operands);
/// `hittest SCENE X Y` and its options: HitTestCommand.cpp.
int runHitTestCommand(const List<String>& operands);
/// `generate pile|wide-pile|rain N OUT`: GenerateCommand.cpp.
int runGenerateCommand(const List<String>& operands);

} // namespace zor
