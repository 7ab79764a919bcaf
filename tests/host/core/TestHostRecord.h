#pragma once

#include "common/application/ApplicationData.h"
#include "common/log/Log.h"
#include "host/core/HostObject.h"

#include <string>

namespace zor::test {

/// A host record on the stack for the length of a test: it is the binary's record while it
/// lives, its core module creates host Objects, and it keeps the log text it is handed.
class TestHostRecord final : public ApplicationData {
public:
    TestHostRecord() {
        m_coreRecord.m_createObject = &HostObject::create;
        m_core = &m_coreRecord;
        m_logLevel = LogLevelTrace;
        setApplicationData(this);
    }
    ~TestHostRecord() { setApplicationData(nullptr); }

    // The test owns the record; the host never ends it through slot 0 here.
    void deletingDestructor(uint32) override {}
    void openLog(const String&, const String&) override {}
    bool isConsoleEchoEnabled() override { return false; }
    void writeLog(const String& text) override { m_log += text.c_str(); }

    std::string m_log;
    CoreRecord m_coreRecord;
};

} // namespace zor::test
