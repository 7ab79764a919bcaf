#include "host/app/SimulateOptions.h"

#include "host/io/Utf8Check.h"

#include <cerrno>
#include <cstdlib>

namespace zor {
namespace {

bool parseCount(const String& text, uint64 most, uint64& out) {
    char* end = nullptr;
    errno = 0;
    const unsigned long long value = std::strtoull(text.c_str(), &end, 10);
    if (text.isEmpty() || *end != '\0' || errno != 0 || text.c_str()[0] == '-' || value == 0 || value > most)
        return false;
    out = value;
    return true;
}

bool parseStep(const String& text, double& out) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.isEmpty() || *end != '\0' || !(value > 0) || value > 1e6)
        return false;
    out = value;
    return true;
}

// "csv,final,svg,replay" or any of them.
bool parseOutputs(const String& text, SimulateOptions& options, std::string& error) {
    options.records.csv = options.records.svg = options.records.replay = options.finalScene = false;
    std::string list(text.c_str());
    for (std::size_t at = 0; at <= list.size();) {
        std::size_t comma = list.find(',', at);
        if (comma == std::string::npos)
            comma = list.size();
        const std::string name = list.substr(at, comma - at);
        bool* selected = name == "csv"      ? &options.records.csv
                         : name == "final"  ? &options.finalScene
                         : name == "svg"    ? &options.records.svg
                         : name == "replay" ? &options.records.replay
                                            : nullptr;
        if (selected == nullptr) {
            error = "--outputs takes csv, final, svg and replay separated by commas, not " +
                    host::printableText(list);
            return false;
        }
        *selected = true;
        at = comma + 1;
    }
    return true;
}

} // namespace

std::string sceneBaseName(const String& path) {
    std::string name(path.c_str());
    const std::size_t slash = name.find_last_of("/\\");
    if (slash != std::string::npos)
        name = name.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

bool parseSimulateOptions(const List<String>& operands, SimulateOptions& options, std::string& error) {
    auto it = operands.begin();
    if (it == operands.end()) {
        error = "expected a scene file";
        return false;
    }
    options.scene = *it;
    for (++it; it != operands.end(); ++it) {
        const String option = *it;
        if (option == "--strict") {
            options.strict = true;
            continue;
        }
        const bool known = option == "--steps" || option == "--dt" || option == "--out" ||
                           option == "--record-every" || option == "--outputs";
        if (!known) {
            error = "unknown option " + host::printableText(option.c_str());
            return false;
        }
        if (++it == operands.end()) {
            error = std::string(option.c_str()) + " needs a value";
            return false;
        }
        const String& value = *it;
        const std::string shown = host::printableText(value.c_str());
        if (option == "--steps" && !parseCount(value, kMostSimulateSteps, options.settings.steps))
            error = "--steps takes a whole number from 1 to " + std::to_string(kMostSimulateSteps) +
                    ", not " + shown;
        else if (option == "--record-every" &&
                 !parseCount(value, kMostSimulateSteps, options.settings.recordEvery))
            error = "--record-every takes a positive whole number, not " + shown;
        else if (option == "--dt" && !parseStep(value, options.settings.deltaT))
            error = "--dt takes a positive number of time units up to 1e6, not " + shown;
        else if (option == "--outputs" && !parseOutputs(value, options, error))
            return false;
        if (!error.empty())
            return false;
        if (option == "--out")
            options.outputDirectory = value;
    }
    if (options.outputDirectory.isEmpty())
        options.outputDirectory = String((sceneBaseName(options.scene) + "_run").c_str());
    options.settings.shapes = options.records.svg || options.records.replay;
    return true;
}

} // namespace zor
