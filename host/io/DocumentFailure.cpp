#include "host/io/DocumentFailure.h"

#include "common/containers/String.h"
#include "common/log/Log.h"
#include "host/io/Utf8Check.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

namespace zor::host {
namespace {

// The text of the last failure logged and not yet reported; the host reads one document at a
// time on one thread.
std::string& pendingFailure() {
    static std::string line;
    return line;
}

uint64 failureCount = 0;

} // namespace

void logDocumentFailure(const char* functionName, const String& fileName, const std::string& place,
                        const char* format, ...) {
    char message[512];
    std::va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(message, sizeof message, format, arguments);
    va_end(arguments);
    ++failureCount;
    std::string& line = pendingFailure();
    line = printableText(fileName.c_str()) + ": " + printableText(place) + ": " + printableText(message);
    // A user's file is at fault: worth seeing on the console when the host echoes.
    zor_log(ZOR_LOG_MODULE, true, LogLevelError, functionName, "%s", line.c_str());
}

uint64 documentFailureCount() {
    return failureCount;
}

void reportDocumentFailure(const String& fileName, const char* fallback) {
    std::fprintf(stderr, "%s\n", takeDocumentFailure(fileName, fallback).c_str());
}

std::string takeDocumentFailure(const String& fileName, const char* fallback) {
    std::string line;
    line.swap(pendingFailure());
    return line.empty() ? printableText(fileName.c_str()) + ": " + fallback : line;
}

std::string textPlace(std::string_view text, std::ptrdiff_t offset) {
    std::size_t line = 1;
    std::size_t lineStart = 0;
    const std::size_t end = offset < 0 ? 0 : std::min(text.size(), static_cast<std::size_t>(offset));
    for (std::size_t i = 0; i < end; ++i) {
        if (text[i] == '\n') {
            ++line;
            lineStart = i + 1;
        }
    }
    return "line " + std::to_string(line) + ", column " + std::to_string(end - lineStart + 1);
}

} // namespace zor::host
