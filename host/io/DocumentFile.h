#pragma once

#include "common/containers/String.h"
#include "host/io/DocumentLimits.h"

#include <cstdio>
#include <string>

namespace zor::host {

/// Reads the whole file `path` into `text`, refusing a file larger than `mostBytes` before
/// reading it all. False after one log line (see logDocumentFailure) naming the file and what is
/// wrong: the system's reason when it cannot be opened or read, or the limit.
bool readDocumentText(const String& path, std::string& text, std::uint64_t mostBytes = kMostDocumentBytes);

/// Writes `text` as the whole file `path`, or nothing: it goes to "<path>.part" first, which
/// then replaces `path`. False after one log line naming the file and the system's reason.
bool writeDocumentText(const String& path, const std::string& text);

/// Opens "<path>.part" for writing a document piece by piece; null after the log line
/// writeDocumentText would write.
std::FILE* openDocumentPart(const String& path);

/// Closes the file openDocumentPart gave and, when everything was written, puts it in place of
/// `path`; otherwise removes it. False after one log line naming the file and the reason.
bool finishDocumentPart(std::FILE* file, const String& path);

} // namespace zor::host
