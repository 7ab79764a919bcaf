#include "common/application/ProcessName.h"

#include "common/platform/NativePath.h"
#include "common/platform/Platform.h"

#include <cstdio>

bool zor_getCurrentProcessName(zor::String& out) {
    out.clear();
    zor::String path;
    zor::uint32 error = 0;
    if (!zor::platform::executablePath(path, &error)) {
        std::fprintf(
            stderr, "ERROR: Unable to get current process name. GetModuleFileNameA returned with error:%lu\n",
            static_cast<unsigned long>(error));
        return false;
    }
    out = zor::platform::splitNativePath(path, nullptr);
    return true;
}
