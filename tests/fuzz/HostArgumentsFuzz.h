#pragma once

#include <cstddef>
#include <cstdint>

namespace zor::test {

/// Reads `data` as zor_host's command line (arguments separated by NUL bytes) and checks it: a
/// refusal names the problem, an accepted line hands on exactly the arguments from the first
/// that is not an option, and nothing is logged either way. The operands of simulate and
/// hittest then go through the command's own parser: a refusal is one printable line, an
/// accepted request holds values the command can run with. False when a check fails.
bool checkHostArgumentsInput(const std::uint8_t* data, std::size_t size);

} // namespace zor::test
