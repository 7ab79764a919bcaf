#pragma once

#include "common/ReservedSlots.h"
#include "common/framework/IElementLayer.h"

namespace zor {

/// A host 3D scene, as the 3D engine steps it. It answers isTypeOf for the 3D-scene identifier
/// and its getTemplateType (slot 7) gives its number type: 10 float, 11 double. The records it
/// hands out are of that number type.
class IScene3D : public IObject {
public:
    ZOR_RESERVED_SLOT(42)
    ZOR_RESERVED_SLOT(43)
    ZOR_RESERVED_SLOT(44)
    ZOR_RESERVED_SLOT(45)
    ZOR_RESERVED_SLOT(46)
    ZOR_RESERVED_SLOT(47)
    ZOR_RESERVED_SLOT(48)
    ZOR_RESERVED_SLOT(49)
    ZOR_RESERVED_SLOT(50)
    ZOR_RESERVED_SLOT(51)
    /// Slot 52: the element layer `index` (0: the scene's elements; no reference is added),
    /// or null.
    virtual IElementLayer* getElementLayer(uint32 index) = 0;
    ZOR_RESERVED_SLOT(53)
    /// Slot 54: the collection of the scene's grid stages (no reference is added), or null.
    virtual IObjectCollection* getGridStages() = 0;
    ZOR_RESERVED_SLOT(55)
    ZOR_RESERVED_SLOT(56)
    ZOR_RESERVED_SLOT(57)
    ZOR_RESERVED_SLOT(58)
    ZOR_RESERVED_SLOT(59)
    ZOR_RESERVED_SLOT(60)
    ZOR_RESERVED_SLOT(61)
    ZOR_RESERVED_SLOT(62)
    ZOR_RESERVED_SLOT(63)
    /// Slot 64: the gravity, acting along negative y.
    virtual double getGravity() const = 0;
    ZOR_RESERVED_SLOT(65)
    /// Slot 66: the holder of the scene's view; its getUserData (slot 1) gives the ViewRecord.
    virtual IObject* getViewHolder() = 0;

protected:
    ~IScene3D() = default;
};

} // namespace zor
