#include "common/application/Libraries.h"

#include "common/application/ApplicationData.h"
#include "common/containers/Array.h"
#include "common/log/Log.h"

zor::platform::LibraryHandle zor_loadLibrary(const zor::String& path) {
    zor::Array<zor::WideChar> widePath;
    path.toUTF16(widePath);
    zor::uint32 error = 0;
    zor::platform::LibraryHandle library = zor::platform::loadLibrary(widePath.data(), &error);
    if (library == nullptr) {
        const zor::String fileName = path.splitPath();
        zor_log("common", true, zor::LogLevelWarn, "zor_loadLibrary",
                "Unable to load library:%s with error:%lu", fileName.c_str(),
                static_cast<unsigned long>(error));
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
