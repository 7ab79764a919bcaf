// libFuzzer entry: zor_host's command line.

#include "HostArgumentsFuzz.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!zor::test::checkHostArgumentsInput(data, size))
        std::abort();
    return 0;
}
