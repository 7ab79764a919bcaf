// libFuzzer entry: hit-test points files.

#include "PointsFileFuzz.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!zor::test::checkPointsInput(data, size))
        std::abort();
    return 0;
}
