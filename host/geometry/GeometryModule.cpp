// "zor_geometry.dll": the host's geometry module. It registers the collision detector that the
// 3D engine creates through the factory, for float and for double scenes.

#include "common/application/ApplicationData.h"
#include "common/log/Log.h"
#include "common/object/ObjectFactory.h"
#include "common/platform/Export.h"
#include "host/detector/HostCollisionDetector.h"

extern "C" ZOR_EXPORT bool geometryInitialize(zor::ApplicationData* appData) {
    if (appData == nullptr)
        return false;
    zor::setApplicationData(appData);
    zor_addObjectAllocator<zor::HostCollisionDetector<float>>();
    zor_addObjectAllocator<zor::HostCollisionDetector<double>>();
    zor_log("zor_geometry.dll", false, zor::LogLevelInfo, "geometryInitialize", "Geometry module ready");
    return true;
}
