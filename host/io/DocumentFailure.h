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
/// Control characters and bytes that are not UTF-8 are shown as "\xNN". The line is also kept
/// for reportDocumentFailure.
void logDocumentFailure(const char* functionName, const String& fileName, const std::string& place,
                        const char* format, ...) ZOR_PRINTF_FORMAT(4, 5);

/// How many lines logDocumentFailure has written so far: a reader compares it before and after
/// an object's read to tell whether the object has said why it refused.
uint64 documentFailureCount();

/// Prints the refusal of the document `fileName` on the console (stderr) as one line: the text
/// of the last line logDocumentFailure wrote ("FILE: PLACE: expected ..., found ..."), or
/// "FILE: <fallback>" when none was written since the last report. Every command that cannot
/// read or write a document says so through this.
void reportDocumentFailure(const String& fileName, const char* fallback = "cannot be read");

/// The line reportDocumentFailure would print, without printing it; it is forgotten as well.
std::string takeDocumentFailure(const String& fileName, const char* fallback = "cannot be read");

/// "line L, column C" of a byte offset into a document's text (both counted from 1).
std::string textPlace(std::string_view text, std::ptrdiff_t offset);

} // namespace zor::host
