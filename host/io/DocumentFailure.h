#pragma once

#include "common/Types.h"

#include <string>
#include <string_view>

namespace zor {
class String;
}

namespace zor::host {

/// Writes the one log line (ERROR) of a document that cannot be read or written:
/// "<file>: <place>: <message>", where the place is a JSON pointer or "line L, column C".
void logDocumentFailure(const char* functionName, const String& fileName, const std::string& place,
                        const char* format, ...) ZOR_PRINTF_FORMAT(4, 5);

/// "line L, column C" of a byte offset into a document's text (both counted from 1).
std::string textPlace(std::string_view text, std::ptrdiff_t offset);

} // namespace zor::host
