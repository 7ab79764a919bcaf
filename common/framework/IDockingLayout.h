#pragma once

#include "common/ReservedSlots.h"
#include "common/Types.h"

namespace zor {

/// The separators of a docking-layout element, owned by the element. Each operation hands out
/// an Array the layout keeps, of the scene's number type T: the positions of the horizontal and
/// vertical separators (Array<T>), and their separator records (Array<DockingSeparator<T>>),
/// which select their position by index.
class IDockingLayout {
public:
    /// Slot 0: ends the layout; bit 0 of `flags` also frees it.
    virtual void deletingDestructor(uint32 flags) = 0;
    /// Slot 1: Array<T> of the horizontal separators' positions (y).
    virtual const void* getHorizontalPositions() const = 0;
    ZOR_RESERVED_SLOT(2)
    ZOR_RESERVED_SLOT(3)
    /// Slot 4: Array<T> of the vertical separators' positions (x).
    virtual const void* getVerticalPositions() const = 0;
    ZOR_RESERVED_SLOT(5)
    ZOR_RESERVED_SLOT(6)
    /// Slot 7: Array<DockingSeparator<T>> of the horizontal separators.
    virtual const void* getHorizontalSeparators() const = 0;
    ZOR_RESERVED_SLOT(8)
    ZOR_RESERVED_SLOT(9)
    /// Slot 10: Array<DockingSeparator<T>> of the vertical separators.
    virtual const void* getVerticalSeparators() const = 0;

protected:
    ~IDockingLayout() = default;
};

} // namespace zor
