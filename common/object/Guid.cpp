#include "common/object/Guid.h"

#include <cstring>

namespace zor {
namespace {

bool isScanSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int hexDigitValue(char c) {
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
bool scanHexByte(const char*& cursor, uint8& out) {
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

} // namespace

GUID_t::GUID_t(const char* text) : m_bytes{} {
    if (text == nullptr)
        return;
    const char* cursor = text;
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) {
            if (*cursor != '-')
                return;
            ++cursor;
        }
        if (!scanHexByte(cursor, m_bytes[i]))
            return;
    }
}

bool GUID_t::operator==(const GUID_t& other) const {
    uint64 left[2];
    uint64 right[2];
    std::memcpy(left, m_bytes, sizeof left);
    std::memcpy(right, other.m_bytes, sizeof right);
    return left[0] == right[0] && left[1] == right[1];
}

void GUID_t::format(char out[37]) const {
    static constexpr char kDigits[] = "0123456789abcdef";
    char* p = out;
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            *p++ = '-';
        *p++ = kDigits[m_bytes[i] >> 4];
        *p++ = kDigits[m_bytes[i] & 15];
    }
    *p = '\0';
}

} // namespace zor
