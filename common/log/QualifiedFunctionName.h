#pragma once

#include "common/Types.h"

namespace zor {

/// Turns a compiler function signature ("void zor::String::resize(zor::uint64)") into the
/// qualified name used in log lines ("zor::String::resize"); template arguments listed after
/// the signature ("[with T = float]") are substituted into the name. Any text is accepted;
/// the result is cut to `capacity` bytes with its terminator.
void qualifiedFunctionName(const char* functionSignature, char* out, std::size_t capacity);

} // namespace zor
