// zor_host read FILE: every object of a document the host makes (an attribute file, a path file,
// a 2D or 3D scene) reads its variables through its own read operation, passes the checks of
// scene files, and is printed as JSON as it writes itself.

#include "host/app/HostCommands.h"
#include "host/app/HostDocuments.h"
#include "host/io/DocumentFailure.h"
#include "host/io/DocumentObjects.h"
#include "host/io/ObjectDocument.h"

#include <cstdio>

namespace zor {

int runReadCommand(const List<String>& operands) {
    const String& path = operands.front();
    List<IObject*> objects;
    if (!readHostDocument(path, objects)) {
        host::reportDocumentFailure(path);
        return 1;
    }
    std::string text;
    const bool written = host::writeObjects(host::DocumentFormat::Json, path, objects, false, text);
    const uint64 count = objects.size();
    host::releaseObjects(objects);
    if (!written) {
        host::reportDocumentFailure(path, "cannot be printed");
        return 1;
    }
    std::printf("%s: %llu object%s\n%s", path.c_str(), static_cast<unsigned long long>(count),
                count == 1 ? "" : "s", text.c_str());
    return 0;
}

} // namespace zor
