#pragma once

#include <pugixml.hpp>

#include <string>
#include <string_view>

namespace zor::host {

/// "line L, column C" of an element of a document parsed from `text`.
std::string xmlPlace(std::string_view text, pugi::xml_node element);

/// True for a name that XML accepts for an element or an attribute (ASCII letters, digits,
/// '_', '-', '.', not starting with a digit, '-' or '.').
bool isXmlName(const char* name);

/// True when XML 1.0 text can carry the UTF-8 text unchanged: no control characters besides
/// tab and line feed (a carriage return would come back as a line feed).
bool isXmlText(const char* text, std::size_t length);

/// A short quoted form of a text for log lines.
std::string quotedXmlText(const char* text);

} // namespace zor::host
