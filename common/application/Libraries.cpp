#include "common/application/Libraries.h"

#include "common/application/ApplicationData.h"
#include "common/log/Log.h"

zor::platform::LibraryHandle zor_loadLibrary(const zor::String& path) {
    zor::String error;
    zor::platform::LibraryHandle library = zor::platform::loadLibrary(path, error);
    if (library == nullptr) {
        // Windows reports its error code, other systems their loader's own text.
        const zor::String fileName = path.splitPath();
        zor_log("common", true, zor::LogLevelWarn, "zor_loadLibrary",
                "Unable to load library:%s with error:%s", fileName.c_str(), error.c_str());
    }
    return library;
}

zor::String zor_getLibrariesDirectory() {
    const zor::ApplicationData* appData = zor::applicationData();
    if (appData == nullptr) {
        zor_log("common", true, zor::LogLevelWarn, "zor_getLibrariesDirectory",
                "Application data is NULL, cannot get libraries directory");
        return zor::String();
    }
    return appData->m_librariesDirectory;
}
