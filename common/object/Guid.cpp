#include "common/object/Guid.h"

#include <cstring>

namespace zor {

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
