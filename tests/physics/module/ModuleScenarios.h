#pragma once

// Helpers for the start-up tests: the folders of the scenario modules, a host record that also
// tells when the module destroys it, and the captured log split into its parts.

#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

namespace zor::test {

/// The folder of the test programs and modules, without a trailing separator.
inline std::string binDirectory() {
    const char* directory = std::getenv("ZOR_TEST_BIN_DIR");
    return directory != nullptr ? directory : ".";
}

/// The folder of one scenario's host modules, with its separator.
inline std::string scenarioDirectory(const char* scenario) {
    return binDirectory() + "/scenarios/" + scenario + "/";
}

/// A capturing host record for one scenario that leaves the test program's own global record as
/// it was: the records of these tests belong to the loaded module.
class ScenarioRecord : public TestApplicationData {
public:
    /// One slot-0 call: which record, with which flags.
    struct Destruction {
        const ApplicationData* record;
        uint32 flags;
        bool operator==(const Destruction&) const = default;
    };

    explicit ScenarioRecord(const char* scenario, ApplicationData* previous = applicationData()) {
        setApplicationData(previous);
        m_librariesDirectory = scenarioDirectory(scenario).c_str();
        m_frameworkVersion = 0x10000050000ull;
    }

    void deletingDestructor(uint32 flags) override {
        destructions().push_back({this, flags});
        this->~ScenarioRecord();
        if (flags & 1u)
            ScenarioRecord::operator delete(this);
    }

    /// Every slot-0 call on a scenario record so far.
    static std::vector<Destruction>& destructions() {
        static std::vector<Destruction> calls;
        return calls;
    }
};

/// One log line without its timestamp and process and thread identifiers.
struct LogLine {
    std::string level;
    std::string module;
    std::string function;
    std::string message;
    bool operator==(const LogLine&) const = default;
};

inline void PrintTo(const LogLine& line, std::ostream* out) {
    *out << '[' << line.level << "|" << line.module << "|" << line.function << "|" << line.message << ']';
}

/// The lines of a captured log: "<time> [pid:tid] LEVEL module function - message\r\n" each.
inline std::vector<LogLine> logLines(const std::string& log) {
    std::vector<LogLine> lines;
    for (std::size_t start = 0; start < log.size();) {
        std::size_t end = log.find("\r\n", start);
        if (end == std::string::npos)
            end = log.size();
        const std::string text = log.substr(start, end - start);
        start = end + 2;

        LogLine line;
        std::size_t cursor = text.find("] ");
        if (cursor != std::string::npos) {
            cursor += 2;
            const std::size_t levelEnd = text.compare(cursor, 4, "NONE") == 0 ? cursor + 4 : cursor + 5;
            line.level = text.substr(cursor, levelEnd - cursor);
            const std::size_t moduleEnd = text.find(' ', levelEnd + 1);
            const std::size_t functionEnd = text.find(" - ", moduleEnd + 1);
            if (moduleEnd != std::string::npos && functionEnd != std::string::npos) {
                line.module = text.substr(levelEnd + 1, moduleEnd - levelEnd - 1);
                line.function = text.substr(moduleEnd + 1, functionEnd - moduleEnd - 1);
                line.message = text.substr(functionEnd + 3);
            }
        }
        if (line.module.empty())
            line.message = text; // not a log line: kept whole, so that a mismatch shows it
        lines.push_back(line);
    }
    return lines;
}

/// A WARN line of the physics module's start-up.
inline LogLine physicsWarning(const char* function, const std::string& message) {
    return {"WARN ", "zor_physics.dll", function, message};
}

/// The line a scenario module writes when its entry point is called.
inline LogLine moduleCalled(const char* module, const char* exportName) {
    return {"INFO ", module, exportName, "called"};
}

} // namespace zor::test
