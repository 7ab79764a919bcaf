#include "common/containers/HashMap.h"

namespace zor {

uint32 Hash<String>::operator()(const String& key) const {
    const auto* bytes = reinterpret_cast<const unsigned char*>(key.c_str());
    const uint64 length = key.length();
    uint32 hash = 0;
    for (uint64 i = 0; i < length; ++i)
        hash = hash * 101u + bytes[i];
    return hash;
}

} // namespace zor
