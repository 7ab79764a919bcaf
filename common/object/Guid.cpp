#include "common/object/Guid.h"

namespace zor {

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
