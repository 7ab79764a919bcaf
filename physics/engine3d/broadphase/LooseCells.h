#pragma once

#include "common/containers/Array.h"
#include "physics/engine3d/broadphase/PairGrid.h"

namespace zor {

/// Where a primitive stands in the broad phase: in the pair grid with the fat box it was built
/// with (settled), in the loose cells, or in neither (absent: inactive when the grid was built).
enum class Standing : uint8 { Absent, Settled, Loose };

/// The loose cells of the broad phase (docs/engine3d.md, "Settled and loose"): the primitives
/// that left the fat boxes they were filed with in the pair grid, filed again by their new fat
/// box's low corner in cells of grid cells grouped to about the grid's reach. A bucket per cell
/// over the grid's dense block, with a mask per row of the cells that hold any; hashed buckets
/// outside it. Entries change in place as primitives move.
class LooseCells {
public:
    LooseCells() { m_unfiled.setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo); }

    /// Room for `count` primitives, at most `limit` of them loose, in the cells of any grid
    /// for them.
    void resize(uint64 count, uint64 limit);
    /// Empties the cells and lays them out for `grid`, just built.
    void layOut(const PairGrid& grid);
    /// Files primitive `index` by its fat box `fat`.
    void file(uint64 index, const WidenedBox& fat, const PairGrid& grid);
    /// Takes primitive `index` out of its cell.
    void unfile(uint64 index);
    /// Primitive `index` has a new fat box: the cells it looks into are worked out again.
    void forgetRange(uint64 index) { m_cellRanges[index].layout = 0; }
    /// Writes to `out` the loose primitives after `after` whose fat boxes overlap that of
    /// primitive `index` (of `count`, whose fat boxes are `fat` and standings `standing`), in
    /// increasing order; returns how many.
    uint64 gather(uint64 index, uint64 after, const WidenedBox* fat, const Standing* standing, uint64 count,
                  const PairGrid& grid, uint32* out);

private:
    /// A loose primitive filed in a cell, with a copy of its fat box and its cell's key: the walks
    /// that look through a cell read a short run of entries instead of chasing the primitives'
    /// own arrays, and turn most of them down.
    struct Entry {
        WidenedBox fat;
        uint64 key;
        uint32 index;
        uint32 next;
    };
    /// The cells that may hold loose low corners overlapping a primitive's fat box, worked out
    /// once per fat box and layout.
    struct CellRange {
        /// The layout it was worked out for (0: none).
        uint64 layout;
        int32 low[3];
        int32 high[3];
        /// Too many cells to visit: every loose primitive is looked at.
        bool everyCell;
    };
    const CellRange& cellRangeOf(uint64 index, const WidenedBox& fat, const PairGrid& grid) {
        const CellRange& range = m_cellRanges[index];
        return range.layout == m_layout ? range : workOutCellRange(index, fat, grid);
    }
    const CellRange& workOutCellRange(uint64 index, const WidenedBox& fat, const PairGrid& grid);
    /// The key of the loose cell that holds grid cell `gridKey`; kLarge for kLarge.
    uint64 keyOf(uint64 gridKey) const;
    /// The head of the cell of `key`: a bucket per cell of a dense grid's block, hashed buckets
    /// after them for the cells outside it.
    uint32& head(uint64 key);
    /// The row and the place in it of `key`'s cell in the dense block; false outside it.
    bool denseCell(uint64 key, uint64& row, int64& x) const;
    /// Counts a primitive filed in (`change` 1) or taken out of (-1) `key`'s cell: the mask of
    /// its row in the dense block tells whether the cell holds any, or the count of those
    /// outside the block.
    void mark(uint64 key, int64 change);

    /// Per bucket its first entry; the entries (as many as loose primitives may be; the free
    /// ones chained from m_free); per primitive its entry and its cell key (primitives too far
    /// out for a key are in m_unfiled).
    Array<uint32> m_heads;
    Array<Entry> m_entries;
    uint32 m_free = ~uint32(0);
    uint32 m_entriesUsed = 0;
    Array<uint32> m_slots;
    Array<uint64> m_keys;
    Array<uint32> m_unfiled;
    uint32 m_bucketBits = 0;
    /// Grid cells per loose cell on each axis, as a power of two.
    int m_shift = 0;
    /// The dense grid's block in loose cells, as they were laid out for it (all 0 when hashed).
    int64 m_extent[3] = {};
    uint64 m_denseCells = 0;
    /// Per row of the dense block (when no wider than 64 cells), the cells that hold any.
    bool m_rowsMasked = false;
    Array<uint64> m_rowMasks;
    /// The primitives filed outside the dense block.
    uint64 m_outside = 0;
    /// Per primitive its cell range, valid while its layout is m_layout; the layouts made.
    Array<CellRange> m_cellRanges;
    uint64 m_layout = 0;
};

} // namespace zor
