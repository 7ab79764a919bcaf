#pragma once

#include "common/application/ApplicationData.h"
#include "common/compression/CompressionCallbacks.h"
#include "common/log/Log.h"

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

namespace zor::test {

/// A host record for tests: the binary's record while it lives (the previous one comes back
/// afterwards). It keeps every openLog call and every writeLog text, from any thread, and lets
/// the test choose the console echo and the log level (TRACE unless set).
class TestApplicationData : public ApplicationData {
public:
    ZOR_BLOCK_ALLOCATED

    /// The two names of one openLog call.
    struct OpenLogCall {
        std::string processName;
        std::string fileBaseName;
    };

    TestApplicationData() : m_previous(applicationData()) {
        m_logLevel = LogLevelTrace;
        setApplicationData(this);
    }
    ~TestApplicationData() {
        releaseCompressionCallbacks(*this);
        setApplicationData(m_previous);
    }
    TestApplicationData(const TestApplicationData&) = delete;
    TestApplicationData& operator=(const TestApplicationData&) = delete;

    ZOR_DELETING_DESTRUCTOR(TestApplicationData)

    void openLog(const String& processName, const String& fileBaseName) override {
        std::lock_guard<std::mutex> guard(m_captureMutex);
        m_openLogCalls.push_back({textOf(processName), textOf(fileBaseName)});
    }
    bool isConsoleEchoEnabled() override { return m_consoleEcho.load(); }
    void writeLog(const String& text) override {
        std::lock_guard<std::mutex> guard(m_captureMutex);
        m_writtenTexts.push_back(textOf(text));
    }

    void setConsoleEcho(bool enabled) { m_consoleEcho.store(enabled); }
    void setLogLevel(int32 level) { m_logLevel = level; }

    /// Every openLog call so far, in order.
    std::vector<OpenLogCall> openLogCalls() const {
        std::lock_guard<std::mutex> guard(m_captureMutex);
        return m_openLogCalls;
    }
    /// Every writeLog text so far, one entry per call.
    std::vector<std::string> writtenTexts() const {
        std::lock_guard<std::mutex> guard(m_captureMutex);
        return m_writtenTexts;
    }
    /// All writeLog texts joined.
    std::string writtenLog() const {
        std::lock_guard<std::mutex> guard(m_captureMutex);
        std::string log;
        for (const std::string& text : m_writtenTexts)
            log += text;
        return log;
    }
    /// Forgets the captured calls (the record's log state is kept).
    void clearCaptured() {
        std::lock_guard<std::mutex> guard(m_captureMutex);
        m_openLogCalls.clear();
        m_writtenTexts.clear();
    }

private:
    static std::string textOf(const String& text) { return std::string(text.c_str(), text.length()); }

    ApplicationData* m_previous;
    std::atomic<bool> m_consoleEcho{false};
    mutable std::mutex m_captureMutex;
    std::vector<OpenLogCall> m_openLogCalls;
    std::vector<std::string> m_writtenTexts;
};

} // namespace zor::test
