#pragma once

#include "common/ReservedSlots.h"
#include "common/Types.h"

namespace zor {

/// The 2D geometry of a scene element, owned by the element. Its values are of the scene's
/// number type T and are handed out untyped.
class IElementGeometry {
public:
    /// Slot 0: ends the geometry; bit 0 of `flags` also frees it.
    virtual void deletingDestructor(uint32 flags) = 0;
    ZOR_RESERVED_SLOT(1)
    ZOR_RESERVED_SLOT(2)
    ZOR_RESERVED_SLOT(3)
    ZOR_RESERVED_SLOT(4)
    ZOR_RESERVED_SLOT(5)
    ZOR_RESERVED_SLOT(6)
    ZOR_RESERVED_SLOT(7)
    ZOR_RESERVED_SLOT(8)
    ZOR_RESERVED_SLOT(9)
    ZOR_RESERVED_SLOT(10)
    ZOR_RESERVED_SLOT(11)
    ZOR_RESERVED_SLOT(12)
    ZOR_RESERVED_SLOT(13)
    ZOR_RESERVED_SLOT(14)
    ZOR_RESERVED_SLOT(15)
    ZOR_RESERVED_SLOT(16)
    ZOR_RESERVED_SLOT(17)
    ZOR_RESERVED_SLOT(18)
    /// Slot 19: the element's Rect<T> (x, y, width, height) in its own coordinates.
    virtual const void* getRectangle() const = 0;
    ZOR_RESERVED_SLOT(20)
    ZOR_RESERVED_SLOT(21)
    /// Slot 22: the element's Matrix3x3<T> from its own coordinates to the scene's.
    virtual const void* getMatrix() const = 0;
    ZOR_RESERVED_SLOT(23)
    ZOR_RESERVED_SLOT(24)
    /// Slot 25: the element's scale, a T.
    virtual const void* getScale() const = 0;

protected:
    ~IElementGeometry() = default;
};

} // namespace zor
