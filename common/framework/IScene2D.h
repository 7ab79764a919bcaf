#pragma once

#include "common/ReservedSlots.h"
#include "common/object/IObject.h"

namespace zor {

/// A host 2D scene. Its number type is its template type (slot 7: 10 float, 11 double). It hands
/// out its two unfolded lists through holders: host objects whose getUserData (slot 1) answers
/// with an Array<UnfoldedElement2D> that the scene keeps. No reference is added to a holder.
class IScene2D : public IObject {
public:
    ZOR_RESERVED_SLOT(42)
    ZOR_RESERVED_SLOT(43)
    ZOR_RESERVED_SLOT(44)
    ZOR_RESERVED_SLOT(45)
    ZOR_RESERVED_SLOT(46)
    ZOR_RESERVED_SLOT(47)
    ZOR_RESERVED_SLOT(48)
    ZOR_RESERVED_SLOT(49)
    /// Slot 50: the holder of the unfolded list with clip marks (kinds 0, 1 and 3).
    virtual IObject* getClipMarkedElements() = 0;
    ZOR_RESERVED_SLOT(51)
    ZOR_RESERVED_SLOT(52)
    ZOR_RESERVED_SLOT(53)
    ZOR_RESERVED_SLOT(54)
    ZOR_RESERVED_SLOT(55)
    /// Slot 56: the holder of the plain unfolded list (kinds 0 and 1).
    virtual IObject* getUnfoldedElements() = 0;

protected:
    ~IScene2D() = default;
};

} // namespace zor
