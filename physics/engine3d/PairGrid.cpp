#include "physics/engine3d/PairGrid.h"

#include <algorithm>
#include <cmath>

namespace zor {
namespace {

// Cells per axis a gridded box may span; larger boxes are kept apart.
constexpr int64 kMaxSpan = 2;

uint64 nextPowerOfTwo(uint64 value) {
    uint64 power = 1;
    while (power < value)
        power <<= 1;
    return power;
}

} // namespace

PairGrid::PairGrid() : m_cellSize(0), m_freeEntries(kNone), m_query(0) {
    // Sized once by build; emptying must keep the storage.
    m_large.setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo);
}

void PairGrid::build(const WidenedBox* boxes, const uint8* active, uint64 count) {
    // Cells twice the median extent: most bodies span one or two cells on each axis.
    Array<double> extents;
    for (uint64 i = 0; i < count; ++i) {
        if (!active[i])
            continue;
        const WidenedBox& box = boxes[i];
        const double extent = std::max({box.high[0] - box.low[0], box.high[1] - box.low[1], box.high[2] - box.low[2]});
        if (std::isfinite(extent))
            extents.pushBack(extent);
    }
    m_cellSize = 0;
    if (!extents.isEmpty()) {
        std::nth_element(extents.begin(), extents.begin() + extents.size() / 2, extents.end());
        m_cellSize = 2 * extents[extents.size() / 2];
    }
    if (!(m_cellSize > 0) || !std::isfinite(m_cellSize))
        m_cellSize = 1;

    m_placement.resize(count);
    m_ranges.resize(count);
    m_marks.resize(count);
    std::fill(m_placement.begin(), m_placement.end(), uint8(Absent));
    std::fill(m_marks.begin(), m_marks.end(), 0u);
    m_query = 0;
    const uint64 entryCount = count * kMaxSpan * kMaxSpan * kMaxSpan;
    m_entries.resize(entryCount);
    m_freeEntries = kNone;
    for (uint64 i = entryCount; i-- > 0;) {
        m_entries[i].next = m_freeEntries;
        m_freeEntries = uint32(i);
    }
    m_buckets.resize(nextPowerOfTwo(std::max<uint64>(2 * entryCount, 16)));
    std::fill(m_buckets.begin(), m_buckets.end(), kNone);
    m_large.resize(count);
    m_large.resize(0);
    for (uint64 i = 0; i < count; ++i) {
        if (!active[i])
            continue;
        CellRange range;
        if (cellsOf(boxes[i], range)) {
            m_placement[i] = Gridded;
            m_ranges[i] = range;
            insert(i, range);
        } else {
            makeLarge(i);
        }
    }
}

void PairGrid::update(uint64 index, const WidenedBox& box) {
    if (m_placement[index] != Gridded)
        return;
    CellRange range;
    if (!cellsOf(box, range)) {
        remove(index, m_ranges[index]);
        makeLarge(index);
        return;
    }
    const CellRange& old = m_ranges[index];
    if (std::equal(range.low, range.low + 3, old.low) && std::equal(range.high, range.high + 3, old.high))
        return;
    remove(index, old);
    m_ranges[index] = range;
    insert(index, range);
}

void PairGrid::gather(uint64 index, const WidenedBox& box, uint64 after, Array<uint64>& out) {
    out.resize(0);
    ++m_query;
    if (m_query == 0) { // the marks wrapped around: start them again
        std::fill(m_marks.begin(), m_marks.end(), 0u);
        m_query = 1;
    }
    CellRange range;
    if (m_placement[index] != Gridded || !cellsOf(box, range)) {
        // A large primitive meets every other one.
        for (uint64 j = after + 1; j < m_placement.size(); ++j)
            if (m_placement[j] != Absent)
                out.pushBack(j);
        return;
    }
    for (int64 x = range.low[0]; x <= range.high[0]; ++x)
        for (int64 y = range.low[1]; y <= range.high[1]; ++y)
            for (int64 z = range.low[2]; z <= range.high[2]; ++z) {
                const int64 cell[3] = {x, y, z};
                for (uint32 e = m_buckets[bucketOf(cell)]; e != kNone; e = m_entries[e].next) {
                    const Entry& entry = m_entries[e];
                    if (entry.primitive > after && std::equal(cell, cell + 3, entry.cell) && mark(entry.primitive))
                        out.pushBack(entry.primitive);
                }
            }
    for (uint64 j : m_large)
        if (j > after && mark(j))
            out.pushBack(j);
    std::sort(out.begin(), out.end());
}

bool PairGrid::cellsOf(const WidenedBox& box, CellRange& range) const {
    for (int axis = 0; axis < 3; ++axis) {
        const double low = std::floor(box.low[axis] / m_cellSize), high = std::floor(box.high[axis] / m_cellSize);
        // Far out or not finite: too large to be gridded (and no integer conversion overflows).
        if (!(low >= -1e15 && high <= 1e15 && high - low < double(kMaxSpan)))
            return false;
        range.low[axis] = int64(low);
        range.high[axis] = int64(high);
    }
    return true;
}

uint32 PairGrid::bucketOf(const int64 (&cell)[3]) const {
    const uint64 hash = uint64(cell[0]) * 73856093u ^ uint64(cell[1]) * 19349663u ^ uint64(cell[2]) * 83492791u;
    return uint32((hash ^ (hash >> 29)) & (m_buckets.size() - 1));
}

void PairGrid::insert(uint64 index, const CellRange& range) {
    for (int64 x = range.low[0]; x <= range.high[0]; ++x)
        for (int64 y = range.low[1]; y <= range.high[1]; ++y)
            for (int64 z = range.low[2]; z <= range.high[2]; ++z) {
                const uint32 e = m_freeEntries;
                Entry& entry = m_entries[e];
                m_freeEntries = entry.next;
                entry = {{x, y, z}, index, kNone};
                uint32& head = m_buckets[bucketOf(entry.cell)];
                entry.next = head;
                head = e;
            }
}

void PairGrid::remove(uint64 index, const CellRange& range) {
    for (int64 x = range.low[0]; x <= range.high[0]; ++x)
        for (int64 y = range.low[1]; y <= range.high[1]; ++y)
            for (int64 z = range.low[2]; z <= range.high[2]; ++z) {
                const int64 cell[3] = {x, y, z};
                for (uint32* link = &m_buckets[bucketOf(cell)]; *link != kNone; link = &m_entries[*link].next) {
                    Entry& entry = m_entries[*link];
                    if (entry.primitive == index && std::equal(cell, cell + 3, entry.cell)) {
                        const uint32 e = *link;
                        *link = entry.next;
                        entry.next = m_freeEntries;
                        m_freeEntries = e;
                        break;
                    }
                }
            }
}

void PairGrid::makeLarge(uint64 index) {
    m_placement[index] = Large;
    m_large.pushBack(index);
}

bool PairGrid::mark(uint64 index) {
    if (m_marks[index] == m_query)
        return false;
    m_marks[index] = m_query;
    return true;
}

} // namespace zor
