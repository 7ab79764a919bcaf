#pragma once

#include "common/Types.h"

#include <cstring>

namespace zor {

namespace detail {

constexpr bool isScanSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

constexpr int hexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// One "%02hhx" conversion done by hand, so that no C library's reading of the "hh" length
// (some store a whole int) matters: leading white space is skipped, then at most two
// characters form the field, an optional sign counting towards them; a negative value wraps
// to the byte as the unsigned conversion does. "0x" reads as 0 and leaves the 'x', which
// ends the scan at the next conversion, with the same bytes as a scan that rejects it.
constexpr bool scanHexByte(const char*& cursor, uint8& out) {
    const char* p = cursor;
    while (isScanSpace(*p))
        ++p;
    bool negative = false;
    int width = 2;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
        --width;
    }
    unsigned value = 0;
    int digits = 0;
    while (digits < width) {
        const int digit = hexDigitValue(*p);
        if (digit < 0)
            break;
        value = value * 16 + static_cast<unsigned>(digit);
        ++p;
        ++digits;
    }
    if (digits == 0)
        return false;
    out = static_cast<uint8>(negative ? 0u - value : value);
    cursor = p;
    return true;
}

} // namespace detail

/// A 128-bit class or interface identifier. Byte i is the i-th pair of hexadecimal digits of
/// the UUID text read from left to right (dashes skipped, no reordering of the groups).
struct GUID_t {
    uint8 m_bytes[16];

    constexpr GUID_t() : m_bytes{} {}
    /// Parses "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx" as a "%02hhx" scan of the text form would;
    /// a null text gives all zeros, and a scan that stops early leaves the remaining bytes zero.
    /// Usable in constant expressions, so identifier constants are ready before any code runs.
    constexpr explicit GUID_t(const char* text) : m_bytes{} {
        if (text == nullptr)
            return;
        const char* cursor = text;
        for (int i = 0; i < 16; ++i) {
            if (i == 4 || i == 6 || i == 8 || i == 10) {
                if (*cursor != '-')
                    return;
                ++cursor;
            }
            if (!detail::scanHexByte(cursor, m_bytes[i]))
                return;
        }
    }

    /// Equal when both 64-bit halves are equal. Inline: type tests compare identifiers on
    /// every step, and a call costs more than the two loads.
    bool operator==(const GUID_t& other) const {
        uint64 left[2];
        uint64 right[2];
        std::memcpy(left, m_bytes, sizeof left);
        std::memcpy(right, other.m_bytes, sizeof right);
        return left[0] == right[0] && left[1] == right[1];
    }

    /// Lower-case 8-4-4-4-12 text into `out` (37 bytes with the NUL).
    void format(char out[37]) const;
};
static_assert(sizeof(GUID_t) == 16);

} // namespace zor
