#pragma once

#include <cstdarg>
#include <cstddef>

namespace zor {

/// vsnprintf with the framework platform's "%p" on every platform: a pointer prints as 16
/// upper-case hexadecimal digits without a prefix. Writes at most `capacity` bytes with the
/// terminating zero and returns the length of the whole text, or -1 for a format it cannot
/// apply (an unknown conversion, "%n"). `buffer` may be null when `capacity` is 0.
int formatPrintf(char* buffer, std::size_t capacity, const char* format, std::va_list arguments);

} // namespace zor
