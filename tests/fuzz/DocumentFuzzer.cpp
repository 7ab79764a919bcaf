// libFuzzer entry: one kind of document in one format, named by the build
// (ZOR_FUZZ_FORMAT: Json or Xml; ZOR_FUZZ_OBJECTS: Samples, Scene3D, Scene2D or Path).

#include "DocumentFuzz.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zor;
    if (!test::checkDocumentInput(host::DocumentFormat::ZOR_FUZZ_FORMAT,
                                  test::DocumentObjects::ZOR_FUZZ_OBJECTS, data, size))
        std::abort();
    return 0;
}
