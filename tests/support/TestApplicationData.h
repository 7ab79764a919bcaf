#pragma once

#include "common/application/ApplicationData.h"
#include "common/compression/CompressionCallbacks.h"
#include "common/log/Log.h"

#include <atomic>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace zor::test {

/// A host record for tests: the binary's record while it lives (the previous one comes back
/// afterwards). It keeps every openLog call and every writeLog text, from any thread; the log
/// level starts at TRACE and the console echo off. Given a creation function, it also has a core
/// module record that makes host objects with it; given a second one, a project module record
/// that makes the host "PhysicsAttribute" level with it.
class TestApplicationData : public ApplicationData {
public:
    ZOR_BLOCK_ALLOCATED

    explicit TestApplicationData(IObject* (*createObject)() = nullptr,
                                 IObject* (*createPhysicsAttribute)() = nullptr)
        : m_previous(applicationData()) {
        m_logLevel = LogLevelTrace;
        m_coreRecord.m_createObject = createObject;
        if (createObject != nullptr)
            m_core = &m_coreRecord;
        m_projectRecord.m_createPhysicsAttribute = createPhysicsAttribute;
        if (createPhysicsAttribute != nullptr)
            m_project = &m_projectRecord;
        setApplicationData(this);
    }
    ~TestApplicationData() {
        releaseCompressionCallbacks(*this);
        setApplicationData(m_previous);
    }
    ZOR_DELETING_DESTRUCTOR(TestApplicationData)

    void openLog(const String& processName, const String& fileBaseName) override {
        std::lock_guard<std::mutex> guard(m_captureMutex);
        m_openLogCalls.emplace_back(processName.c_str(), fileBaseName.c_str());
    }
    bool isConsoleEchoEnabled() override { return m_consoleEcho.load(); }
    void writeLog(const String& text) override {
        std::lock_guard<std::mutex> guard(m_captureMutex);
        m_writtenTexts.emplace_back(text.c_str(), text.length());
    }

    /// Every openLog call so far, in order: the process name and the file base name.
    std::vector<std::pair<std::string, std::string>> openLogCalls() const {
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
        std::string log;
        for (const std::string& text : writtenTexts())
            log += text;
        return log;
    }
    /// Forgets the captured calls (the record's log state is kept).
    void clearCaptured() {
        std::lock_guard<std::mutex> guard(m_captureMutex);
        m_openLogCalls.clear();
        m_writtenTexts.clear();
    }

    std::atomic<bool> m_consoleEcho{false};
    CoreRecord m_coreRecord{};
    ProjectRecord m_projectRecord{};

private:
    ApplicationData* m_previous;
    mutable std::mutex m_captureMutex;
    std::vector<std::pair<std::string, std::string>> m_openLogCalls;
    std::vector<std::string> m_writtenTexts;
};

} // namespace zor::test
