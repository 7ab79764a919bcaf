#pragma once

#include "common/containers/HashMap.h"
#include "common/object/Guid.h"

namespace zor {

class IObject;

/// Creates a new object owned by the caller.
using ObjectAllocator = IObject* (*)();

/// Key of the object factory's GUID map: a class GUID and a template type name ("float",
/// "double", or the host's name for classes that are not templates).
struct ObjectTypeKey {
    GUID_t m_guid;
    String m_typeName;

    bool operator==(const ObjectTypeKey& other) const {
        return m_guid == other.m_guid && m_typeName == other.m_typeName;
    }
};

template <>
struct Hash<ObjectTypeKey> {
    uint32 operator()(const ObjectTypeKey& key) const;
};

} // namespace zor
