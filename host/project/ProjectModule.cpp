// "zor_project.dll": the host's project module. It gives the record the project record; the
// host's "PhysicsAttribute" level does not exist yet, so its create function stays null.

#include "common/application/ApplicationData.h"
#include "common/log/Log.h"
#include "common/platform/Export.h"

namespace {

// One project record for the life of the module, whichever host record points at it.
zor::ProjectRecord& projectRecord() {
    static zor::ProjectRecord record{};
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
