#include "common/application/ProcessName.h"

#include "common/platform/Platform.h"

#include <cstdio>

bool zor_getCurrentProcessName(zor::String& out) {
    using namespace zor;
    out.clear();
    WideChar path[1024];
    uint32 error = 0;
    const uint32 length = platform::executablePath(path, 1024, &error);
    if (length == 0) {
        std::fprintf(
            stderr, "ERROR: Unable to get current process name. GetModuleFileNameA returned with error:%lu\n",
            static_cast<unsigned long>(error));
        return false;
    }
    uint32 nameStart = length;
    while (nameStart > 0 && !platform::isPathSeparator(path[nameStart - 1]))
        --nameStart;
    out.pushBack(path + nameStart);
    return true;
}
