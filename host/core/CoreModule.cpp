// "zor_core.dll": the host's core module. It gives the record the core record, whose create
// function makes the host "Object" that every wrapper of the physics module owns.

#include "common/application/ApplicationData.h"
#include "common/log/Log.h"
#include "common/platform/Export.h"
#include "host/core/HostObject.h"

namespace {

// One core record for the life of the module, whichever host record points at it.
zor::CoreRecord& coreRecord() {
    static zor::CoreRecord record{&zor::HostObject::create, {}};
    return record;
}

} // namespace

extern "C" ZOR_EXPORT bool coreInitialize(zor::ApplicationData* appData) {
    if (appData == nullptr)
        return false;
    // The module's own log lines go to the host's log through the record.
    zor::setApplicationData(appData);
    appData->m_core = &coreRecord();
    zor_log("zor_core.dll", false, zor::LogLevelInfo, "coreInitialize", "Core module ready");
    return true;
}
