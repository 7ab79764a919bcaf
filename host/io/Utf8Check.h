#pragma once

#include <cstddef>

namespace zor::host {

/// True when the bytes are well-formed UTF-8 (no overlong forms, surrogates or values past
/// U+10FFFF): the only text that JSON and XML files can carry.
bool isValidUtf8(const char* text, std::size_t length);

} // namespace zor::host
