#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace zor {

using int8 = std::int8_t;
using uint8 = std::uint8_t;
using int16 = std::int16_t;
using uint16 = std::uint16_t;
using int32 = std::int32_t;
using uint32 = std::uint32_t;
using int64 = std::int64_t;
using uint64 = std::uint64_t;

/// Marks a printf-style function for the compiler's format checks. The C library's formatting is
/// the C99 one on every platform (MinGW-w64 selects its own for C++), so MinGW checks it as such.
#if defined(__MINGW32__)
#define ZOR_PRINTF_FORMAT(formatIndex, firstArgument)                                                        \
    __attribute__((format(gnu_printf, formatIndex, firstArgument)))
#else
#define ZOR_PRINTF_FORMAT(formatIndex, firstArgument)                                                        \
    __attribute__((format(printf, formatIndex, firstArgument)))
#endif

/// One UTF-16 code unit: 16 bits on every platform (wchar_t where it has that width).
using WideChar = std::conditional_t<sizeof(wchar_t) == 2, wchar_t, char16_t>;

} // namespace zor
