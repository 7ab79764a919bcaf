#pragma once

#include "common/framework/IAttributeReserved.h"
#include "common/object/IObject.h"

namespace zor {

/// The host's "PhysicsAttribute" object: the shared level below every physics attribute of the
/// module, created by the project module's create function and wrapped by the attribute.
class IPhysicsAttributeLevel : public IObject {
public:
    /// Slot 42: the companion of the host's level (not owned by the caller).
    virtual IAttributeReserved* getPhysicsAttributeReserved() = 0;

protected:
    ~IPhysicsAttributeLevel() = default;
};

} // namespace zor
