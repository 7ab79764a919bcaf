#pragma once

#include "common/object/IObject.h"

namespace zor {

/// What a collision detector may declare about its tests, found through the detector's castTo
/// with guids::kCollisionReach (null: it declares nothing). A detector that declares its reach
/// lets the collision stage pass over the pairs and faces farther apart than their radii and
/// that reach without asking it, and declares too that its tests answer from their arguments
/// alone (the stage may keep the bodies' states in copies while it runs). A detector that
/// declares nothing is asked about every pair and every face, in the stage's defined order.
class ICollisionReach : public IObject {
public:
    /// Slot 42: how far apart (in the scene's length unit) two shapes' surfaces may be when a test
    /// of the detector reports their contact: 0 for a detector that reports only shapes that touch
    /// or overlap, up to its rounding. A negative, infinite or NaN answer declares nothing.
    virtual double getContactReach() const = 0;

protected:
    ~ICollisionReach() = default;
};

} // namespace zor
