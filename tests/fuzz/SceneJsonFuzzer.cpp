// libFuzzer entry: 3D scene files in Json.

#include "DocumentFuzz.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!zor::test::checkSceneDocumentInput(zor::host::DocumentFormat::Json, data, size))
        std::abort();
    return 0;
}
