#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zor::host {

/// True when the bytes are well-formed UTF-8 (no overlong forms, surrogates or values past
/// U+10FFFF): the only text that JSON and XML files can carry.
bool isValidUtf8(const char* text, std::size_t length);

/// The text as a console or log line can show it: control characters and bytes that are not
/// part of well-formed UTF-8 become "\xNN"; the rest stays as it is.
std::string printableText(std::string_view text);

} // namespace zor::host
