// "zor_geometry.dll": the host's geometry module. The physics module needs nothing of it yet
// but its successful start.

#include "common/application/ApplicationData.h"
#include "common/log/Log.h"
#include "common/platform/Export.h"

extern "C" ZOR_EXPORT bool geometryInitialize(zor::ApplicationData* appData) {
    if (appData == nullptr)
        return false;
    zor::setApplicationData(appData);
    zor_log("zor_geometry.dll", false, zor::LogLevelInfo, "geometryInitialize", "Geometry module ready");
    return true;
}
