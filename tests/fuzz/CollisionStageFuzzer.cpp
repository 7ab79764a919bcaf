// libFuzzer entry: the collision stage with pairs passed over against every pair asked.

#include "CollisionStageFuzz.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!zor::test::checkCollisionStageInput(data, size))
        std::abort();
    return 0;
}
