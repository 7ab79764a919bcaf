#pragma once

#include "support/TestApplicationData.h"

#include <string>
#include <vector>

namespace zor::test {

/// The lines of a log text, each from its level on ("WARN  zor_physics.dll f - text"): the time
/// and the process and thread identifiers are left out.
inline std::vector<std::string> logLines(const std::string& log) {
    std::vector<std::string> result;
    for (std::size_t start = 0, end; (end = log.find("\r\n", start)) != std::string::npos; start = end + 2) {
        const std::size_t level = log.find("] ", start);
        result.push_back(level < end ? log.substr(level + 2, end - level - 2)
                                     : log.substr(start, end - start));
    }
    return result;
}

/// The lines a record was given, as `logLines` of their text.
inline std::vector<std::string> logLines(const TestApplicationData& record) {
    return logLines(record.writtenLog());
}

/// A WARN line of the physics module.
inline std::string physicsWarning(const std::string& function, const std::string& message) {
    return "WARN  zor_physics.dll " + function + " - " + message;
}

} // namespace zor::test
