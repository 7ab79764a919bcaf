// zor_host convert IN OUT: the objects of IN (any document the host makes), each read and
// written through its own read and write operations, go to OUT in the format its extension
// names.

#include "host/app/HostCommands.h"
#include "host/app/HostDocuments.h"
#include "host/io/DocumentFailure.h"
#include "host/io/DocumentObjects.h"
#include "host/io/ObjectDocument.h"

#include <cstdio>

namespace zor {

int runConvertCommand(const List<String>& operands) {
    const String& input = operands.front();
    const String& output = operands.back();
    List<IObject*> objects;
    if (!readHostDocument(input, objects)) {
        host::reportDocumentFailure(input);
        return 1;
    }
    const bool written = host::writeObjectFile(output, objects, false);
    const uint64 count = objects.size();
    host::releaseObjects(objects);
    if (!written) {
        host::reportDocumentFailure(output, "cannot be written");
        return 1;
    }
    if (hostVerbosity() != HostVerbosity::Quiet)
        std::printf("Converted %llu object%s from %s to %s\n", static_cast<unsigned long long>(count),
                    count == 1 ? "" : "s", input.c_str(), output.c_str());
    return 0;
}

} // namespace zor
