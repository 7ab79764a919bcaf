#pragma once

#include "common/containers/List.h"
#include "common/containers/String.h"

namespace zor {

/// A command of zor_host, run once the physics module is up.
struct HostCommand {
    /// The word that names it on the command line.
    const char* name;
    /// Its operands ("IN OUT") and what it does, for the usage text.
    const char* operands;
    const char* summary;
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

/// `read FILE`: ReadCommand.cpp.
int runReadCommand(const List<String>& operands);
/// `convert IN OUT`: ConvertCommand.cpp.
int runConvertCommand(const List<String>& operands);
/// `path IN OUT`: PathCommand.cpp.
int runPathCommand(const List<String>& operands);
/// `simulate SCENE [--steps N] [--dt S] [--out DIR]`: SimulateCommand.cpp.
int runSimulateCommand(const List<String>& operands);

} // namespace zor
