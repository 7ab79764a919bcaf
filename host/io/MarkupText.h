#pragma once

#include <string>
#include <string_view>

namespace zor::host {

/// `text` as well-formed UTF-8 without control characters: each byte that does not start a
/// valid sequence, and each control character (U+0000 to U+001F, U+007F to U+009F), becomes
/// U+FFFD. Names and file names pass through it before any output carries them.
std::string wellFormedText(std::string_view text);

/// wellFormedText escaped for XML and HTML text and attribute values (& < > " ').
std::string xmlText(std::string_view text);

/// wellFormedText as a quoted JSON string that is also safe inside an HTML script element:
/// < > & and the line separators U+2028, U+2029 are written as \u escapes.
std::string jsonText(std::string_view text);

/// wellFormedText as one CSV field, quoted when it holds a comma or a quote.
std::string csvText(std::string_view text);

} // namespace zor::host
