#pragma once

#include "common/application/ApplicationData.h"
#include "host/core/HostObject.h"
#include "host/project/HostPhysicsAttribute.h"

namespace zor::bench {

/// A quiet host record for benchmarks: its core and project modules create host objects and the
/// physics-attribute level that attributes wrap; log lines go nowhere.
class BenchRecord final : public ApplicationData {
public:
    BenchRecord() {
        m_coreRecord.m_createObject = &HostObject::create;
        m_core = &m_coreRecord;
        m_projectRecord.m_createPhysicsAttribute = &HostPhysicsAttribute::create;
        m_project = &m_projectRecord;
        setApplicationData(this);
    }
    ~BenchRecord() { setApplicationData(nullptr); }
    void deletingDestructor(uint32) override {}
    void openLog(const String&, const String&) override {}
    bool isConsoleEchoEnabled() override { return false; }
    void writeLog(const String&) override {}

private:
    CoreRecord m_coreRecord{};
    ProjectRecord m_projectRecord{};
};

} // namespace zor::bench
