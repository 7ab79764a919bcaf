// libFuzzer entry of one check, named by the build: ZOR_FUZZ_CHECK is the check's function
// (checkSvgPathInput, ...); a document target names its kind instead, with ZOR_FUZZ_FORMAT (Json or
// Xml) and ZOR_FUZZ_OBJECTS (Samples, Scene3D, Scene2D or Path).

#include "FuzzChecks.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zor;
#ifdef ZOR_FUZZ_OBJECTS
    const bool passed = test::checkDocumentInput(host::DocumentFormat::ZOR_FUZZ_FORMAT,
                                                 test::DocumentObjects::ZOR_FUZZ_OBJECTS, data, size);
#else
    const bool passed = test::ZOR_FUZZ_CHECK(data, size);
#endif
    if (!passed)
        std::abort();
    return 0;
}
