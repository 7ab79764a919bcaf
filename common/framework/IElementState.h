#pragma once

#include "common/ReservedSlots.h"
#include "common/Types.h"

namespace zor {

/// The state flags of a 2D scene element, owned by the element. An element whose two activity
/// flags (slots 5 and 13) are both false is passive: a hit on it is reported to no one.
class IElementState {
public:
    /// Slot 0: ends the state; bit 0 of `flags` also frees it.
    virtual void deletingDestructor(uint32 flags) = 0;
    ZOR_RESERVED_SLOT(1)
    ZOR_RESERVED_SLOT(2)
    ZOR_RESERVED_SLOT(3)
    ZOR_RESERVED_SLOT(4)
    /// Slot 5: the element reacts to the pointer.
    virtual bool isPointerActive() const = 0;
    ZOR_RESERVED_SLOT(6)
    ZOR_RESERVED_SLOT(7)
    ZOR_RESERVED_SLOT(8)
    ZOR_RESERVED_SLOT(9)
    ZOR_RESERVED_SLOT(10)
    /// Slot 11: the element takes part in hit testing; false makes it transparent.
    virtual bool isHitTestVisible() const = 0;
    ZOR_RESERVED_SLOT(12)
    /// Slot 13: the element reacts to the keyboard.
    virtual bool isKeyboardActive() const = 0;

protected:
    ~IElementState() = default;
};

} // namespace zor
