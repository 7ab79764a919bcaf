// "zor_project.dll": the host's project module. It gives the record the project record, whose
// create function makes the host "PhysicsAttribute" level that every physics attribute wraps.

#include "common/application/ApplicationData.h"
#include "common/log/Log.h"
#include "common/platform/Export.h"
#include "host/project/HostPhysicsAttribute.h"

namespace {

// One project record for the life of the module, whichever host record points at it.
zor::ProjectRecord& projectRecord() {
    static zor::ProjectRecord record{{}, &zor::HostPhysicsAttribute::create, {}};
    return record;
}

} // namespace

extern "C" ZOR_EXPORT bool projectInitialize(zor::ApplicationData* appData) {
    if (appData == nullptr)
        return false;
    zor::setApplicationData(appData);
    appData->m_project = &projectRecord();
    zor_log("zor_project.dll", false, zor::LogLevelInfo, "projectInitialize", "Project module ready");
    return true;
}
