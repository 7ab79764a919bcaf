#pragma once

#include "common/containers/List.h"
#include "common/containers/String.h"
#include "host/simulate/RunRecords.h"
#include "host/simulate/Simulation.h"

#include <string>

namespace zor {

/// More steps than a person waits for; longer runs are several runs, each from the last one's
/// final scene.
constexpr uint64 kMostSimulateSteps = 1000000000;

/// What `zor_host simulate SCENE [options]` asks for.
struct SimulateOptions {
    String scene;
    host::SimulationSettings settings;
    host::RecordSettings records;
    bool finalScene = true;
    /// SCENE's base name with "_run" when --out is not given.
    String outputDirectory;
    /// Unusual values of the scene are refused rather than questioned.
    bool strict = false;
};

/// The scene file's name without folder and extension.
std::string sceneBaseName(const String& path);

/// Reads the simulate command's operands (SCENE first, then its options). False with one line
/// in `error` (options quoted printable) when an option is unknown, lacks its value or has an
/// invalid one.
bool parseSimulateOptions(const List<String>& operands, SimulateOptions& options, std::string& error);

} // namespace zor
