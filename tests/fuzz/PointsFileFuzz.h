#pragma once

#include <cstddef>
#include <cstdint>

namespace zor::test {

/// Reads `data` as a hit-test points file and checks it: a refusal writes one log line, and the points
/// accepted, written back out one per line, read back the same.
bool checkPointsInput(const std::uint8_t* data, std::size_t size);

} // namespace zor::test
