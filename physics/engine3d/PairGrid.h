#pragma once

#include "common/containers/Array.h"

namespace zor {

/// A box in world coordinates, already widened by the primitive's radius and a margin.
struct WidenedBox {
    double low[3];
    double high[3];
};

/// The broad phase of the collision stage: a uniform grid, hashed, over the primitives' widened
/// boxes. The scenes this module steps are mostly many bodies of similar size, which a uniform
/// grid with cells about twice their size serves in constant time per body; primitives much
/// larger than that (long capsules, meshes, and any box that is not finite) are kept apart and
/// offered to every query instead of filling many cells. Two primitives whose widened boxes
/// overlap always share a cell or one of them is large, so a query returns a superset of the
/// primitives that may touch. Everything is sized when the grid is built: moving primitives
/// allocates nothing.
class PairGrid {
public:
    PairGrid();

    /// Sizes the grid for `count` primitives and puts those with a non-zero `active` in it.
    void build(const WidenedBox* boxes, const uint8* active, uint64 count);
    /// Moves primitive `index` to the cells of its new box.
    void update(uint64 index, const WidenedBox& box);
    /// Fills `out` with the primitives after `after` that may touch `box` (the box of primitive
    /// `index`), in increasing order.
    void gather(uint64 index, const WidenedBox& box, uint64 after, Array<uint64>& out);

private:
    struct CellRange {
        int64 low[3];
        int64 high[3];
    };
    struct Entry {
        int64 cell[3];
        uint64 primitive;
        uint32 next;
    };
    static constexpr uint32 kNone = 0xFFFFFFFFu;
    enum Placement : uint8 { Absent = 0, Gridded = 1, Large = 2 };

    /// The cells a box covers; false when it is not finite or spans more than two cells on an
    /// axis.
    bool cellsOf(const WidenedBox& box, CellRange& range) const;
    uint32 bucketOf(const int64 (&cell)[3]) const;
    void insert(uint64 index, const CellRange& range);
    void remove(uint64 index, const CellRange& range);
    void makeLarge(uint64 index);
    /// Marks `index` as gathered in the current query; false when it already was.
    bool mark(uint64 index);

    double m_cellSize;
    Array<uint8> m_placement;
    Array<CellRange> m_ranges;
    Array<uint32> m_buckets;
    Array<Entry> m_entries;
    uint32 m_freeEntries;
    Array<uint64> m_large;
    Array<uint32> m_marks;
    uint32 m_query;
};

} // namespace zor
