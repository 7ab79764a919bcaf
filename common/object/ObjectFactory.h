#pragma once

#include "common/object/ObjectTypeKey.h"

namespace zor {

/// Registers an allocator with the host's factory under the type name (slot 5) and under the
/// GUID (slot 9) and template type name (slot 6) of a temporary object made with it. An entry
/// already present under a key is kept. Without a host record it logs a warning instead.
void registerObjectAllocator(ObjectAllocator allocator);

/// The factory's allocator of class T: its static `allocateObject()` when it has one, else a
/// new T made with its default constructor (which sets the object up completely).
template <typename T>
IObject* allocateObject() {
    if constexpr (requires { T::allocateObject(); })
        return T::allocateObject();
    else
        return new T();
}

} // namespace zor

/// Registers class T with the host's object factory (see zor::registerObjectAllocator).
template <typename T>
void zor_addObjectAllocator() {
    zor::registerObjectAllocator(&zor::allocateObject<T>);
}

/// A new object of the class registered under `guid` and `templateTypeName`, owned by the
/// caller; null when no class is registered under them or there is no host record.
zor::IObject* zor_createObjectFromGUIDAndTypeName(const zor::GUID_t& guid,
                                                  const zor::String& templateTypeName);

/// A new host "Object" from the core module's record, or null (with a warning) when there is no
/// host record. A host record without a core record ends the process (assertion).
zor::IObject* zor_createObject();

/// A new host "PhysicsAttribute" object from the project module's record, or null (with a
/// warning) when there is no host record. A host record without a project module record ends
/// the process (assertion).
zor::IObject* zor_createPhysicsAttribute();
