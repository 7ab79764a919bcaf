#include "physics/module/PhysicsModule.h"

#include "common/application/CommonModule.h"
#include "common/log/Log.h"
#include "physics/module/HostModules.h"
#include "physics/module/ObjectAllocators.h"

namespace zor {

static_assert(kModuleFrameworkVersion == 0x10000050000ull);

namespace {

constexpr const char* kModuleName = "zor_physics.dll";

bool refuseDependency(const char* dependency) {
    zor_log(kModuleName, false, LogLevelWarn, "zor::physicsInitialize",
            "Unable to initialize component module dependency: %s", dependency);
    return false;
}

bool initializeCommon(ApplicationData* appData) {
    if (appData->m_commonState == DependencyFailed)
        return false;
    if (appData->m_commonState == DependencyInitialized)
        return true;
    appData->m_commonState = commonInitialize(appData) ? DependencyInitialized : DependencyFailed;
    return appData->m_commonState == DependencyInitialized;
}

} // namespace

extern "C" bool physicsInitialize(ApplicationData* appData) {
    if (appData == nullptr) {
        zor_log(kModuleName, false, LogLevelWarn, "zor::physicsInitialize",
                "Application data is NULL, cannot initialize component module: physics");
        return false;
    }
    if (!isCompatibleFrameworkVersion(appData->m_frameworkVersion)) {
        String hostVersion;
        String moduleVersion;
        formatFrameworkVersion(appData->m_frameworkVersion, hostVersion);
        formatFrameworkVersion(kModuleFrameworkVersion, moduleVersion);
        zor_log(kModuleName, false, LogLevelWarn, "zor::physicsInitialize",
                "Application framework version:%s is incompatible with module framework version:%s. Cannot "
                "initialize component module: physics",
                hostVersion.c_str(), moduleVersion.c_str());
        return false;
    }
    adoptApplicationData(appData);

    if (!initializeCommon(appData))
        return refuseDependency("common");
    for (const HostModule* module : {&kCoreModule, &kProjectModule, &kGeometryModule})
        if (!initializeHostModule(appData, *module))
            return refuseDependency(module->name);

    registerObjectAllocators();
    appData->m_deinitializeCallbacks.pushFront(&physicsDeinitialize);
    return true;
}

void physicsDeinitialize() {
    if (applicationData() == nullptr)
        zor_log(kModuleName, false, LogLevelWarn, "zor::physicsDeinitialize",
                "Application data is NULL, cannot deinitialize module: physics");
}

} // namespace zor
