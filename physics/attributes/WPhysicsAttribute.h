#pragma once

#include "common/object/WObject.h"

namespace zor {

class IAttributeReserved;

/// Base of the module's physics attributes. The wrapped host object is the host's
/// "PhysicsAttribute" level, which keeps what every physics attribute shares; each attribute
/// class adds its own level of members on top, with a companion that resets, copies, reads and
/// writes that level after the level below.
class WPhysicsAttribute : public WObject {
public:
    ZOR_DELETING_DESTRUCTOR(WPhysicsAttribute)

    /// Slot 42: the companion of the host's level, from the host object.
    virtual IAttributeReserved* getPhysicsAttributeReserved();

    /// Creates the host "PhysicsAttribute" object through the project module and binds it,
    /// unless the attribute has one already. Without one afterwards the process ends.
    void initObjectInterface();

protected:
    WPhysicsAttribute() = default;
    ~WPhysicsAttribute() = default;

    // The shared steps of the attribute classes' operations, given the class's own companion.

    /// copy: reset, then copy the levels from `p_src`. Copying onto itself changes nothing.
    void copyLevels(IAttributeReserved* ownLevel, const IObject* p_src);
    /// read: reset, then read the levels.
    bool readLevels(IAttributeReserved* ownLevel, IObject* reader);
    /// write: the levels once to a single-pass writer; to a two-pass writer first without, then
    /// with the levels' own variables.
    bool writeLevels(IAttributeReserved* ownLevel, IObject* writer, uint8 typedMode, uint64 context);
    /// The level below's part of copy_Backwards: the host level copies from `p_src`'s host object.
    void copyHostLevel(const IObject* p_src);
    /// handleEvent of the 3D attributes: the host object's listeners first, then the host object.
    bool handleEventThroughHost(IObject* event, IObject* sender);
};

} // namespace zor
