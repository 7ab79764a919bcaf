#pragma once

#include "common/ReservedSlots.h"
#include "common/framework/IObjectCollection.h"

namespace zor {

/// A layer of a host scene: it holds the collection of the scene's elements.
class IElementLayer : public IObject {
public:
    ZOR_RESERVED_SLOT(42)
    ZOR_RESERVED_SLOT(43)
    ZOR_RESERVED_SLOT(44)
    ZOR_RESERVED_SLOT(45)
    ZOR_RESERVED_SLOT(46)
    ZOR_RESERVED_SLOT(47)
    ZOR_RESERVED_SLOT(48)
    ZOR_RESERVED_SLOT(49)
    /// Slot 50: the layer's elements (no reference is added), or null.
    virtual IObjectCollection* getElements() = 0;

protected:
    ~IElementLayer() = default;
};

} // namespace zor
