#pragma once

#include "common/object/WObject.h"

namespace zor {

namespace guids {
/// What the 3D engine's last collision stages saw (ICollisionReport), asked of the engine through
/// castTo. The module's own interface: it lives with it rather than in the host's table.
inline constexpr GUID_t kCollisionReport{"de65b212-2ee3-497b-9348-28a77390dce8"};
} // namespace guids

/// What a PhysicsEngine3D's last collision stage of each number type saw, found through the
/// engine's castTo with guids::kCollisionReport and owned by the engine. A contact is one its
/// detector reported: a pair of primitives after the exclusion test, or a grid-stage face within
/// reach and not excluded; each is one a collision callback, when set, is asked about. The counts
/// are the same with callbacks and without.
class ICollisionReport : public WObject {
public:
    /// Slot 42: the contacts of the last collision stage on a float scene (0 before any).
    virtual uint64 getContactCountFloat() const = 0;
    /// Slot 43: the deepest depth among them; 0 when none is deeper than 0.
    virtual float getDeepestContactFloat() const = 0;
    /// Slot 44: the contacts of the last collision stage on a double scene (0 before any).
    virtual uint64 getContactCountDouble() const = 0;
    /// Slot 45: the deepest depth among them; 0 when none is deeper than 0.
    virtual double getDeepestContactDouble() const = 0;

protected:
    ICollisionReport() = default;
    ~ICollisionReport() = default;
};

} // namespace zor
