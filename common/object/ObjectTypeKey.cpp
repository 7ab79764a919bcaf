#include "common/object/ObjectTypeKey.h"

namespace zor {

uint32 Hash<ObjectTypeKey>::operator()(const ObjectTypeKey& key) const {
    // Continues the String hash over the GUID bytes, so that the float and double forms of a
    // class (one GUID) and different classes of one template type name both spread.
    uint32 hash = Hash<String>()(key.m_typeName);
    for (const uint8 byte : key.m_guid.m_bytes)
        hash = hash * 101u + byte;
    return hash;
}

} // namespace zor
