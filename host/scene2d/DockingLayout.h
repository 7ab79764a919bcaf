#pragma once

#include "common/containers/Array.h"
#include "common/framework/DockingSeparator.h"
#include "common/framework/IDockingLayout.h"

namespace zor {

/// The separators of a host docking layout: horizontal separators lie at the `rows` positions
/// (y), vertical ones at the `columns` positions (x), both in the layout's own coordinates
/// before its content scale. Each separator record picks its position by index.
template <typename T>
class DockingLayout : public IDockingLayout {
public:
    void deletingDestructor(uint32) override {}
    const void* getHorizontalPositions() const override { return &rows; }
    const void* getVerticalPositions() const override { return &columns; }
    const void* getHorizontalSeparators() const override { return &horizontal; }
    const void* getVerticalSeparators() const override { return &vertical; }

    /// A separator record that takes part: both top bits set.
    static DockingSeparator<T> separator(T start, T length, uint32 index) {
        return DockingSeparator<T>{start, length,
                                   kDockingSeparatorActiveBits | (index & kDockingSeparatorIndexMask)};
    }

    T thickness = 4;
    Array<T> rows;
    Array<T> columns;
    Array<DockingSeparator<T>> horizontal;
    Array<DockingSeparator<T>> vertical;
};

} // namespace zor
