#pragma once

#include "common/containers/Array.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>

namespace zor {

/// A box in world coordinates, in double.
struct WidenedBox {
    double low[3];
    double high[3];
};

/// A sphere widened as its box is, in world coordinates: its centre and its radius; a negative
/// radius for primitives of other shapes.
struct WidenedBall {
    double centre[3];
    double radius;
};

/// One of 2^bits buckets for `key`, spread by multiplying with the golden ratio.
inline uint64 hashedBucket(uint64 key, uint32 bits) {
    return (key * 0x9E3779B97F4A7C15u) >> (64 - bits);
}

/// A set of pointers, open-addressed, sized for a number of them and kept for the next use.
class PointerSet {
public:
    PointerSet() { m_slots.setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo); }
    /// Empties the set, with room for `count` pointers.
    void reset(uint64 count) {
        m_bits = uint32(std::bit_width(2 * count + 1));
        m_slots.resize(uint64(1) << m_bits);
        std::fill(m_slots.begin(), m_slots.end(), nullptr);
    }
    /// Adds `pointer` (not null); false when it was there already.
    bool insert(const void* pointer) {
        uint64 slot = slotOf(pointer);
        for (; m_slots[slot] != nullptr; slot = next(slot))
            if (m_slots[slot] == pointer)
                return false;
        m_slots[slot] = pointer;
        return true;
    }
    bool contains(const void* pointer) const {
        for (uint64 slot = slotOf(pointer); m_slots[slot] != nullptr; slot = next(slot))
            if (m_slots[slot] == pointer)
                return true;
        return false;
    }

private:
    uint64 slotOf(const void* pointer) const {
        return hashedBucket(uint64(reinterpret_cast<std::uintptr_t>(pointer)), m_bits);
    }
    uint64 next(uint64 slot) const { return (slot + 1) & (m_slots.size() - 1); }

    Array<const void*> m_slots;
    uint32 m_bits = 0;
};

/// Sorts primitive indices in increasing order; short runs, the usual ones, by insertion.
void sortIndices(uint32* first, uint32* last);

/// True unless the boxes are apart on some axis; boxes with a NaN overlap everything.
inline bool overlaps(const WidenedBox& a, const WidenedBox& b) {
    return !(a.low[0] > b.high[0] || b.low[0] > a.high[0] || a.low[1] > b.high[1] || b.low[1] > a.high[1] ||
             a.low[2] > b.high[2] || b.low[2] > a.high[2]);
}

/// True when every bound of the box is finite.
inline bool isFinite(const WidenedBox& box) {
    return std::isfinite(box.low[0] + box.low[1] + box.low[2] + box.high[0] + box.high[1] + box.high[2]);
}

/// True when `inner` lies in `outer`; false for boxes with a NaN.
inline bool contains(const WidenedBox& outer, const WidenedBox& inner) {
    return inner.low[0] >= outer.low[0] && inner.low[1] >= outer.low[1] && inner.low[2] >= outer.low[2] &&
           inner.high[0] <= outer.high[0] && inner.high[1] <= outer.high[1] && inner.high[2] <= outer.high[2];
}

/// The pairs whose boxes overlap, found once for a set of boxes: a uniform grid, hashed (or, for
/// boxes that fill the block of their cells, a bucket per cell), with each box filed in the one
/// cell of its low corner, and for every box the list of the boxes after it that overlap it.
///
/// The scenes this module steps are mostly many bodies of similar size, piled or scattered: a
/// uniform grid with cells as wide as the widest of them (half as wide in a pile) finds a box's
/// neighbours in the few cells around its corner in constant time, and a sorted list per box
/// lets the collision passes walk a primitive's pairs in order without searching again. Boxes
/// much larger than the median (long capsules, meshes, boxes that are not finite or lie very far
/// out) are kept apart: they go into the lists of the boxes they overlap and have no list of
/// their own. The lists have a budget proportional to the number of boxes; a box whose list
/// would not fit has none. Building allocates only when the number of boxes grows.
class PairGrid {
public:
    /// Files the boxes of the primitives with a non-zero `active` and lists their pairs; two
    /// boxes that hold balls (a non-negative radius in `balls`) are a pair only when the balls
    /// overlap.
    void build(const WidenedBox* boxes, const WidenedBall* balls, const uint8* active, uint64 count);

    /// True when box `index` has a list: then [first, last) are the boxes after it that overlap
    /// it, in increasing order.
    bool listed(uint64 index, const uint32*& first, const uint32*& last) const;
    /// True when box `index` is one of the large ones.
    bool isLarge(uint64 index) const { return m_cellKeys[index] == kLarge; }
    /// Fills `out` with the filed boxes after `after` that overlap `box`, in increasing order;
    /// `box` must be no larger than the one filed for a box that is not large.
    void gather(const WidenedBox& box, uint64 after, Array<uint32>& out) const;

    /// The key of the cell holding `point`, or kLarge when it lies too far out to be filed.
    uint64 cellKey(const double (&point)[3]) const;
    /// The cells that hold the low corners of the filed boxes that may overlap `box`, as key
    /// ranges per axis; false when there are too many to visit.
    bool cellsAround(const WidenedBox& box, int64 (&low)[3], int64 (&high)[3]) const;
    /// The widest box that may be filed by its low corner: its low corner then lies at most
    /// cellsBelow cells below that of any box it overlaps.
    double reach() const { return m_reach; }
    /// The cells below a box's own that cellsAround looks into on each axis: more than one when
    /// the cells are narrower than the reach.
    int64 cellsBelow() const { return m_cellsBelow; }
    /// With a bucket per cell, the cells of the block on `axis`; 0 with hashed buckets.
    int64 denseExtent(int axis) const { return m_dense ? m_extent[axis] : 0; }
    /// Hashed buckets for `count` boxes, as a power of two.
    static uint32 bucketBitsFor(uint64 count);
    /// The most cells a block for `count` boxes may have to get a bucket per cell.
    static uint64 denseBucketsFor(uint64 count);
    /// Bits of a cell key per axis: x in the lowest, then y, then z.
    static constexpr int kKeyBits = 21;
    /// Cells per axis that a key can tell apart, counted from the grid's origin.
    static constexpr int64 kCellsPerAxis = int64(1) << kKeyBits;
    static uint64 keyOf(int64 x, int64 y, int64 z) {
        return uint64(x) | uint64(y) << kKeyBits | uint64(z) << (2 * kKeyBits);
    }
    /// The cell coordinate on `axis` of the cell of `key` (not kLarge).
    static int64 keyPart(uint64 key, int axis) {
        return int64(key >> (kKeyBits * axis) & (kCellsPerAxis - 1));
    }
    static constexpr uint64 kLarge = ~uint64(0);

private:
    static constexpr uint64 kAbsent = ~uint64(0) - 1;
    static constexpr uint32 kUnlisted = ~uint32(0);

    /// Keeps, of the `count` boxes listed for ball `index`, those that hold no ball or a ball
    /// that overlaps it, in the order they come; returns how many.
    static uint64 keepBallPairs(const WidenedBall* balls, uint64 index, uint32* list, uint64 count);
    /// As gather, into `out` of room for `capacity` boxes, sorted when `sorted`; the number found,
    /// which may exceed `capacity` (the boxes are then neither all written nor sorted).
    uint64 gatherInto(const WidenedBox& box, uint64 after, uint32* out, uint64 capacity, bool sorted) const;

    uint64 bucketOf(uint64 key) const {
        if (m_dense)
            return uint64(keyPart(key, 0) + m_extent[0] * (keyPart(key, 1) + m_extent[1] * keyPart(key, 2)));
        return hashedBucket(key, m_bucketBits);
    }

    /// The cell coordinate of `value` on `axis`, clamped to the cells a key can tell apart.
    int64 cellOf(double value, int axis) const;

    const WidenedBox* m_boxes = nullptr;
    uint64 m_count = 0;
    double m_origin[3] = {};
    double m_cellSize = 1;
    double m_reach = 1;
    /// The cells below a box's own that hold the low corners of the boxes that may overlap it:
    /// reach over the cell size, rounded up.
    int64 m_cellsBelow = 1;
    uint32 m_bucketBits = 0;
    /// A bucket per cell of the block from the origin to m_extent cells on each axis, instead
    /// of hashed buckets.
    bool m_dense = false;
    int64 m_extent[3] = {};
    Array<double> m_widths;
    /// Per box: its cell key, kLarge or kAbsent.
    Array<uint64> m_cellKeys;
    /// Per bucket, where its boxes start in m_filed (one more entry than buckets).
    Array<uint32> m_bucketStarts;
    /// The filed boxes, bucket by bucket, each bucket in increasing order.
    Array<uint32> m_filed;
    Array<uint32> m_large;
    /// Per box, where its list starts and ends in m_lists (equal when it has none).
    Array<uint32> m_listStarts;
    Array<uint32> m_listEnds;
    Array<uint32> m_lists;
};

} // namespace zor
