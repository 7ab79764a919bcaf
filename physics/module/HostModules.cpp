#include "physics/module/HostModules.h"

#include "common/application/Libraries.h"
#include "common/log/Log.h"

namespace zor {

const HostModule kCoreModule{"core",
                             "zor_core.dll",
                             "coreInitialize",
                             "zor_prepareCoreModule",
                             "zor::ApplicationData::coreInitialize",
                             &zor_prepareCoreModule,
                             &ApplicationData::m_coreInitialize,
                             &ApplicationData::m_coreState};
const HostModule kProjectModule{"project",
                                "zor_project.dll",
                                "projectInitialize",
                                "zor_prepareProjectModule",
                                "zor::ApplicationData::projectInitialize",
                                &zor_prepareProjectModule,
                                &ApplicationData::m_projectInitialize,
                                &ApplicationData::m_projectState};
const HostModule kGeometryModule{"geometry",
                                 "zor_geometry.dll",
                                 "geometryInitialize",
                                 "zor_prepareGeometryModule",
                                 "zor::ApplicationData::geometryInitialize",
                                 &zor_prepareGeometryModule,
                                 &ApplicationData::m_geometryInitialize,
                                 &ApplicationData::m_geometryState};

bool prepareHostModule(ApplicationData* appData, const HostModule& module) {
    if (appData->*module.initialize != nullptr)
        return true;

    // The directory ends in its separator: the file name is appended as it is.
    String path = zor_getLibrariesDirectory();
    path.pushBackUTF8String(module.fileName);
    platform::LibraryHandle library = zor_loadLibrary(path);
    if (library == nullptr) {
        zor_log("zor_physics.dll", false, LogLevelWarn, module.prepareFunctionName,
                "Unable to load library:\"%s\"", path.c_str());
        appData->*module.state = DependencyFailed;
        return false;
    }
    // Loaded modules stay loaded for the life of the process; the handle is not kept.
    void* symbol = platform::findSymbol(library, module.exportName);
    if (symbol == nullptr) {
        zor_log("zor_physics.dll", false, LogLevelWarn, module.prepareFunctionName,
                "Unable to get function:\"%s\"", module.exportName);
        appData->*module.state = DependencyFailed;
        return false;
    }
    appData->*module.initialize = reinterpret_cast<ModuleInitializeFunction>(symbol);
    return true;
}

bool initializeHostModule(ApplicationData* appData, const HostModule& module) {
    if (!module.prepare(appData))
        return false;
    const ModuleInitializeFunction initialize = appData->*module.initialize;
    if (initialize == nullptr) {
        zor_log("common", false, LogLevelWarn, module.initializeFunctionName,
                "Cannot initialize module:%s before prepare call", module.name);
        return false;
    }
    uint32& state = appData->*module.state;
    if (state == DependencyFailed)
        return false;
    if (state == DependencyInitialized)
        return true;
    state = initialize(appData) ? DependencyInitialized : DependencyFailed;
    return state == DependencyInitialized;
}

} // namespace zor

bool zor_prepareCoreModule(zor::ApplicationData* appData) {
    return zor::prepareHostModule(appData, zor::kCoreModule);
}

bool zor_prepareProjectModule(zor::ApplicationData* appData) {
    return zor::prepareHostModule(appData, zor::kProjectModule);
}

bool zor_prepareGeometryModule(zor::ApplicationData* appData) {
    return zor::prepareHostModule(appData, zor::kGeometryModule);
}
