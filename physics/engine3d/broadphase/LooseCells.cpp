#include "physics/engine3d/broadphase/LooseCells.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace zor {
namespace {

constexpr uint32 kNone = ~uint32(0);

} // namespace

void LooseCells::resize(uint64 count, uint64 limit) {
    // Sized once: nothing grows in the passes.
    m_bucketBits = std::max(4, int(std::bit_width(2 * limit)));
    // Room for a bucket per cell of any dense block the grid may choose, then the hashed ones.
    m_heads.resize(PairGrid::denseBucketsFor(count) + (uint64(1) << m_bucketBits));
    m_rowMasks.resize(PairGrid::denseBucketsFor(count));
    m_cellRanges.resize(count);
    for (CellRange& range : m_cellRanges)
        range.layout = 0;
    m_entries.resize(limit);
    m_slots.resize(count);
    m_keys.resize(count);
    m_unfiled.resize(count);
}

void LooseCells::layOut(const PairGrid& grid) {
    // Cells about as wide as the reach: a walk looks into few of them, and there are few loose
    // primitives to tell apart. A power of two of grid cells on each axis, so that a grid cell's
    // loose cell is a shift away.
    m_shift = int(std::bit_width(uint64(grid.cellsBelow()))) - 1;
    m_denseCells = 1;
    for (int axis = 0; axis < 3; ++axis) {
        m_extent[axis] = (grid.denseExtent(axis) + (int64(1) << m_shift) - 1) >> m_shift;
        m_denseCells *= uint64(m_extent[axis]);
    }
    m_rowsMasked = m_extent[0] <= 64;
    m_outside = 0;
    // Only this block's rows and cells are cleared: the room is for the largest block the grid
    // may lay out.
    const uint64 rows = m_extent[0] != 0 ? m_denseCells / uint64(m_extent[0]) : 0;
    std::fill(m_rowMasks.begin(), m_rowMasks.begin() + rows, uint64(0));
    const uint64 heads = m_denseCells + (uint64(1) << m_bucketBits);
    std::fill(m_heads.begin(), m_heads.begin() + heads, kNone);
    m_entriesUsed = 0;
    m_free = kNone;
    m_unfiled.resize(0);
    ++m_layout;
}

bool LooseCells::denseCell(uint64 key, uint64& row, int64& x) const {
    x = PairGrid::keyPart(key, 0);
    const int64 y = PairGrid::keyPart(key, 1), z = PairGrid::keyPart(key, 2);
    if (!(x < m_extent[0] && y < m_extent[1] && z < m_extent[2]))
        return false;
    row = uint64(y + m_extent[1] * z);
    return true;
}

uint64 LooseCells::keyOf(uint64 gridKey) const {
    if (gridKey == PairGrid::kLarge)
        return gridKey;
    return PairGrid::keyOf(PairGrid::keyPart(gridKey, 0) >> m_shift, PairGrid::keyPart(gridKey, 1) >> m_shift,
                           PairGrid::keyPart(gridKey, 2) >> m_shift);
}

uint32& LooseCells::head(uint64 key) {
    uint64 row;
    int64 x;
    if (denseCell(key, row, x))
        return m_heads[row * uint64(m_extent[0]) + uint64(x)];
    return m_heads[m_denseCells + hashedBucket(key, m_bucketBits)];
}

void LooseCells::mark(uint64 key, int64 change) {
    uint64 row;
    int64 x;
    if (!denseCell(key, row, x)) {
        m_outside = uint64(int64(m_outside) + change);
    } else if (m_rowsMasked) {
        const uint64 bit = uint64(1) << x;
        m_rowMasks[row] = head(key) != kNone ? m_rowMasks[row] | bit : m_rowMasks[row] & ~bit;
    }
}

const LooseCells::CellRange& LooseCells::workOutCellRange(uint64 index, const WidenedBox& fat,
                                                          const PairGrid& grid) {
    CellRange& range = m_cellRanges[index];
    int64 low[3], high[3];
    range.layout = m_layout;
    range.everyCell = !isFinite(fat) || !grid.cellsAround(fat, low, high);
    for (int axis = 0; axis < 3 && !range.everyCell; ++axis) {
        range.low[axis] = int32(low[axis] >> m_shift);
        range.high[axis] = int32(high[axis] >> m_shift);
    }
    return range;
}

void LooseCells::file(uint64 index, const WidenedBox& fat, const PairGrid& grid) {
    // Only boxes no wider than the grid's reach may be filed by their low corner: the cells
    // around a box reach no further below it.
    const double reach = grid.reach();
    const bool fits = isFinite(fat) && !grid.isLarge(index) && fat.high[0] - fat.low[0] <= reach &&
                      fat.high[1] - fat.low[1] <= reach && fat.high[2] - fat.low[2] <= reach;
    const uint64 key = fits ? keyOf(grid.cellKey(fat.low)) : PairGrid::kLarge;
    m_keys[index] = key;
    if (key == PairGrid::kLarge) {
        m_unfiled.pushBack(uint32(index));
        return;
    }
    // No more loose primitives than entries: the grid is built again before.
    uint32 slot = m_free;
    if (slot != kNone)
        m_free = m_entries[slot].next;
    else
        slot = m_entriesUsed++;
    uint32& first = head(key);
    m_entries[slot] = {fat, key, uint32(index), first};
    first = slot;
    m_slots[index] = slot;
    mark(key, 1);
}

void LooseCells::unfile(uint64 index) {
    if (m_keys[index] == PairGrid::kLarge) {
        uint32* last = std::remove(m_unfiled.begin(), m_unfiled.end(), uint32(index));
        m_unfiled.resize(uint64(last - m_unfiled.begin()));
        return;
    }
    const uint32 slot = m_slots[index];
    for (uint32* link = &head(m_keys[index]); *link != kNone; link = &m_entries[*link].next)
        if (*link == slot) {
            *link = m_entries[slot].next;
            m_entries[slot].next = m_free;
            m_free = slot;
            mark(m_keys[index], -1);
            return;
        }
}

uint64 LooseCells::gather(uint64 index, uint64 after, const WidenedBox* fat, const Standing* standing,
                          uint64 count, const PairGrid& grid, uint32* out) {
    uint64 found = 0;
    const WidenedBox box = fat[index];
    const Entry* const entries = m_entries.data();
    const auto take = [&](uint32 j) {
        if (j > after && overlaps(fat[j], box))
            out[found++] = j;
    };
    // The entries of a cell from `first` on (those of `key` alone for a hashed bucket).
    const auto takeCell = [&](uint32 first, uint64 key, bool hashed) {
        for (uint32 e = first; e != kNone; e = entries[e].next) {
            const Entry& entry = entries[e];
            if (entry.index > after && overlaps(entry.fat, box) && (!hashed || entry.key == key))
                out[found++] = entry.index;
        }
    };
    const CellRange& range = cellRangeOf(index, box, grid);
    if (range.everyCell) {
        for (uint64 j = after + 1; j < count; ++j)
            if (standing[j] == Standing::Loose)
                take(uint32(j));
        return found;
    }
    // The cells inside the dense block, each its own bucket: a row's mask tells which hold any.
    const int64 extentX = m_extent[0], extentY = m_extent[1];
    const int64 lowX = range.low[0], highX = std::min<int64>(range.high[0], extentX - 1);
    const int64 highY = std::min<int64>(range.high[1], extentY - 1);
    const int64 highZ = std::min<int64>(range.high[2], m_extent[2] - 1);
    const uint32* const heads = m_heads.data();
    for (int64 z = range.low[2]; z <= highZ && lowX <= highX; ++z)
        for (int64 y = range.low[1]; y <= highY; ++y) {
            const int64 row = y + extentY * z;
            const uint32* const rowHeads = heads + extentX * row;
            if (!m_rowsMasked) {
                for (int64 x = lowX; x <= highX; ++x)
                    takeCell(rowHeads[x], 0, false);
                continue;
            }
            uint64 cells = m_rowMasks[uint64(row)] >> lowX;
            if (highX - lowX < 63)
                cells &= (uint64(2) << (highX - lowX)) - 1;
            for (; cells != 0; cells &= cells - 1)
                takeCell(rowHeads[lowX + std::countr_zero(cells)], 0, false);
        }
    // The cells outside it share hashed buckets, when any loose primitive is filed there.
    for (int64 z = range.low[2]; m_outside != 0 && z <= range.high[2]; ++z)
        for (int64 y = range.low[1]; y <= range.high[1]; ++y)
            for (int64 x = range.low[0]; x <= range.high[0]; ++x) {
                if (x <= highX && y <= highY && z <= highZ)
                    continue;
                const uint64 key = PairGrid::keyOf(x, y, z);
                takeCell(head(key), key, true);
            }
    for (uint32 j : m_unfiled)
        take(j);
    if (found > 1)
        sortIndices(out, out + found);
    return found;
}

} // namespace zor
