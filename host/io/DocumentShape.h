#pragma once

#include "common/containers/String.h"
#include "host/io/DocumentLimits.h"
#include "host/io/ObjectDocument.h"

#include <string_view>

namespace zor::host {

/// One streaming pass over a document's text, before it is parsed: its nesting, its count of
/// values, and the length of each name and text stay within the limits of DocumentLimits.h. It
/// does not check that the text is well-formed (the parser does); it only makes sure that
/// parsing and walking it stays bounded. False after one log line naming `fileName`, the line
/// and column, the limit and what was found. A streamed document may hold `mostValues` values.
bool checkDocumentShape(DocumentFormat format, const String& fileName, std::string_view text,
                        std::uint64_t mostValues = kMostValues);

} // namespace zor::host
