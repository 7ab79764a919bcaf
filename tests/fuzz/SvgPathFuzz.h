#pragma once

#include <cstddef>
#include <cstdint>

namespace zor::test {

/// Reads `data` as SVG path data and checks what every input must give: a refusal names a
/// column inside the data (or just past it) and changes nothing, and a path that is read comes
/// back the same when written and read again. False when a check fails.
bool checkSvgPathInput(const std::uint8_t* data, std::size_t size);

} // namespace zor::test
