#include "common/containers/HashMap.h"

namespace zor {

uint32 Hash<String>::operator()(const String& key) const {
    const auto* bytes = reinterpret_cast<const unsigned char*>(key.c_str());
    const uint64 length = key.length();
    // Four bytes per step: h * 101^4 + (b0 * 101^3 + b1 * 101^2 + b2 * 101 + b3) is the same sum
    // modulo 2^32 with a quarter of the serial multiplications.
    constexpr uint32 p1 = 101u, p2 = p1 * p1, p3 = p2 * p1, p4 = p3 * p1;
    uint32 hash = 0;
    uint64 i = 0;
    for (; i + 4 <= length; i += 4)
        hash = hash * p4 + (bytes[i] * p3 + bytes[i + 1] * p2 + bytes[i + 2] * p1 + bytes[i + 3]);
    for (; i < length; ++i)
        hash = hash * p1 + bytes[i];
    return hash;
}

} // namespace zor
