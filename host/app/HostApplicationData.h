#pragma once

#include "common/application/ApplicationData.h"
#include "common/application/FrameworkVersion.h"
#include "common/log/Log.h"

#include <cstdio>

namespace zor {

/// The reference host's record: it owns the log file and the settings the modules read.
/// It lives on the heap only and ends through slot 0.
class HostApplicationData : public ApplicationData {
public:
    ZOR_BLOCK_ALLOCATED

    /// The framework version of this host, 1.5.0.
    static constexpr uint64 kFrameworkVersion = makeFrameworkVersion(1, 5, 0);

    /// What the host's user chooses.
    struct Settings {
        /// Folder of the host modules, ending in its separator.
        String librariesDirectory;
        /// Folder of the log file, ending in its separator (empty: the working directory).
        String logDirectory;
        int32 logLevel = LogLevelInfo;
        bool consoleEcho = false;
        uint64 frameworkVersion = kFrameworkVersion;
    };

    explicit HostApplicationData(const Settings& settings);

    ZOR_DELETING_DESTRUCTOR(HostApplicationData)
    /// Creates "<log directory><fileBaseName>.log" and keeps it open.
    void openLog(const String& processName, const String& fileBaseName) override;
    bool isConsoleEchoEnabled() override;
    /// Appends the text to the log file and flushes it.
    void writeLog(const String& text) override;

    /// The log file's path once openLog has run (whether or not the file could be created).
    const String& logFilePath() const { return m_logFilePath; }
    /// True while the log file is open.
    bool isLogFileOpen() const { return m_logFile != nullptr; }
    /// Why the log file could not be created (the C library's text); empty otherwise.
    const String& logFileError() const { return m_logError; }
    /// The folder the log file goes to.
    const String& logDirectory() const { return m_logDirectory; }

    /// Calls the tear-down list from front to back and empties it.
    void runDeinitializeCallbacks();

protected:
    /// Closes the log file and frees what the modules registered in the record.
    ~HostApplicationData();

private:
    bool m_consoleEcho;
    String m_logDirectory;
    String m_logFilePath;
    String m_logError;
    std::FILE* m_logFile = nullptr;
};

} // namespace zor
