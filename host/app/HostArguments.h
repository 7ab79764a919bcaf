#pragma once

#include "common/containers/List.h"
#include "host/app/HostApplicationData.h"
#include "host/app/HostCommands.h"

namespace zor {

/// What the command line asks zor_host to do.
struct HostArguments {
    HostApplicationData::Settings settings;
    bool showHelp = false;
    bool showVersion = false;
    HostVerbosity verbosity = HostVerbosity::Normal;
    /// The command and its operands: the first argument that is not an option and all after it.
    List<String> command;
};

/// Reads zor_host's options (without the program name). Module and log folders default to
/// `executableDirectory`; every folder is given its trailing separator. False with the reason
/// in `error` when an option is unknown, lacks its value or has an invalid one.
bool parseHostArguments(const List<String>& arguments, const String& executableDirectory, HostArguments& out,
                        String& error);

/// The option summary printed by --help and after a command-line error.
const char* hostUsage();

} // namespace zor
