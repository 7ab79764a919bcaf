#include "common/application/CommonModule.h"

#include "common/compression/Lz4Compression.h"
#include "common/compression/ZipCompression.h"
#include "common/log/Log.h"
#include "common/platform/Platform.h"

namespace zor {

void adoptApplicationData(ApplicationData* appData) {
    ApplicationData* previous = applicationData();
    if (appData == previous)
        return;
    if (previous != nullptr)
        previous->deletingDestructor(1);
    setApplicationData(appData);
}

void registerCompressionCallbacks() {
    zor_addCompressDataCallback("lz4", &lz4CompressData);
    zor_addDecompressDataCallback("lz4", &lz4DecompressData);
    zor_addCompressDataCallback("zip", &zipCompressData);
    zor_addDecompressDataCallback("zip", &zipDecompressData);
}

bool commonInitialize(ApplicationData* appData) {
    if (appData == nullptr) {
        zor_log("common", true, LogLevelWarn, "zor::commonInitialize",
                "Application data is NULL, cannot initialize component module: common");
        return false;
    }
    adoptApplicationData(appData);
    registerPathCommandAllocators();
    registerCompressionCallbacks();

    // A host without networking still gets the rest of the foundation.
    if (const int error = platform::startSockets(); error != 0)
        zor_log("common", true, LogLevelWarn, "zor::commonInitialize", "WSAStartup() failed with error: %d\n",
                error);

    appData->m_deinitializeCallbacks.pushFront(&commonDeinitialize);
    return true;
}

void commonDeinitialize() {
    if (applicationData() == nullptr) {
        zor_log("common", true, LogLevelWarn, "zor::commonDeinitialize",
                "Application data is NULL, cannot deinitialize module: common");
        return;
    }
    platform::stopSockets();
}

} // namespace zor

void zor_addUnknownVariableAllocator(const zor::String& typeName, zor::VariableAllocator allocator) {
    zor::ApplicationData* appData = zor::applicationData();
    if (appData == nullptr) {
        zor_log("common", true, zor::LogLevelWarn, "zor_addUnknownVariableAllocator",
                "Application data is NULL, cannot allocate variable from name %s", typeName.c_str());
        return;
    }
    zor::ScopedReadWriteLock lock(appData->m_variableAllocatorsLock, zor::ScopedReadWriteLock::Exclusive);
    appData->m_variableAllocators.insertBack(typeName, allocator);
}
