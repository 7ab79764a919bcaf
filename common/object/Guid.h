#pragma once

#include "common/Types.h"

namespace zor {

/// A 128-bit class or interface identifier. Byte i is the i-th pair of hexadecimal digits of
/// the UUID text read from left to right (dashes skipped, no reordering of the groups).
struct GUID_t {
    uint8 m_bytes[16];

    constexpr GUID_t() : m_bytes{} {}
    /// Parses "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx"; a null text gives all zeros, and a scan
    /// that stops early leaves the remaining bytes zero.
    explicit GUID_t(const char* text);

    /// Equal when both 64-bit halves are equal.
    bool operator==(const GUID_t& other) const;

    /// Lower-case 8-4-4-4-12 text into `out` (37 bytes with the NUL).
    void format(char out[37]) const;
};
static_assert(sizeof(GUID_t) == 16);

} // namespace zor
