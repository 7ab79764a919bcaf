#pragma once

#include "host/core/HostObject.h"
#include "support/TestApplicationData.h"

namespace zor::test {

/// The test host record with a core module whose creation function makes host Objects.
class TestHostRecord final : public TestApplicationData {
public:
    TestHostRecord() {
        m_coreRecord.m_createObject = &HostObject::create;
        m_core = &m_coreRecord;
    }
    ZOR_DELETING_DESTRUCTOR(TestHostRecord)

    CoreRecord m_coreRecord;
};

} // namespace zor::test
