#pragma once

#include "common/Types.h"

namespace zor {

class IObject;

/// The companion of one level of a physics attribute (the host's "PhysicsAttribute" level or one
/// of the module's attribute classes). It points back at its attribute and does that level's part
/// of reset, copy, read and write; each level first asks the level below through the host
/// object's companion. Seven operations in slot order.
class IAttributeReserved {
public:
    /// Slot 0: ends the companion; bit 0 of `flags` also frees it.
    virtual void deletingDestructor(uint32 flags) = 0;
    /// Slot 1: this level's plain members (numbers, flags, enumerations) to their defaults.
    virtual void resetValues() = 0;
    /// Slot 2: this level's object members emptied (vectors to zero, strings to empty).
    virtual void resetObjects() = 0;
    /// Slot 3: copies the levels up to this one from the attribute `p_src`.
    virtual void copy_Backwards(const IObject* p_src) = 0;
    /// Slot 4: reads the levels up to this one; false at the first refused read.
    virtual bool readVariables(IObject* reader) = 0;
    /// Slot 5: writes the levels up to this one; `skipOwn` is the first pass of a two-pass writer.
    virtual bool writeVariables(IObject* writer, uint8 skipOwn, uint8 typedMode, uint64 context) = 0;
    /// Slot 6: deletes the companion.
    virtual void destroy() = 0;

protected:
    ~IAttributeReserved() = default;
};

} // namespace zor
