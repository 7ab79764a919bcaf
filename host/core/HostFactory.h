#pragma once

#include "common/containers/List.h"
#include "common/containers/String.h"
#include "common/object/Guid.h"
#include "common/object/IObject.h"

namespace zor::host {

/// A new object of the class registered under `typeName` ("PhysicsEngine3D",
/// "RigidBody3DAttribute{float}", ...), owned by the caller; null when none is registered or the
/// host has no record.
IObject* createObjectByTypeName(const String& typeName);

/// A new object of the class registered under a class identifier and a template type name
/// ("float", "double", or the name of a class that is not a template); null when none is.
IObject* createObjectByGuid(const GUID_t& guid, const String& templateTypeName);

/// Appends the type names registered with the factory to `out`, in registration order.
void registeredTypeNames(List<String>& out);

} // namespace zor::host
