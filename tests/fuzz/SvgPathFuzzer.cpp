// libFuzzer entry: the SVG path data reader.

#include "SvgPathFuzz.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!zor::test::checkSvgPathInput(data, size))
        std::abort();
    return 0;
}
