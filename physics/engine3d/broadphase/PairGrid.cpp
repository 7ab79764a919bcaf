#include "physics/engine3d/broadphase/PairGrid.h"
#include "physics/engine3d/collision/CollisionSettings.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

namespace zor {
namespace {

using namespace settings;

double widthOf(const WidenedBox& box) {
    return std::max({box.high[0] - box.low[0], box.high[1] - box.low[1], box.high[2] - box.low[2]});
}

} // namespace

void sortIndices(uint32* first, uint32* last) {
    if (last - first > 32) {
        std::sort(first, last);
        return;
    }
    for (uint32* at = first + 1; at < last; ++at) {
        const uint32 value = *at;
        uint32* to = at;
        for (; to != first && to[-1] > value; --to)
            *to = to[-1];
        *to = value;
    }
}

void PairGrid::build(const WidenedBox* boxes, const WidenedBall* balls, const uint8* active, uint64 count) {
    m_boxes = boxes;
    m_count = count;
    for (Array<uint32>* array : {&m_bucketStarts, &m_filed, &m_large, &m_listStarts, &m_listEnds, &m_lists})
        array->setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo);
    m_cellKeys.setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo);
    m_widths.setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo);

    // The widest box that is not large sets the reach: a box overlapping another has its low
    // corner at most that far below the other's.
    m_widths.resize(0);
    for (uint64 i = 0; i < count; ++i)
        if (active[i] && std::isfinite(widthOf(boxes[i])))
            m_widths.pushBack(widthOf(boxes[i]));
    double limit = 0;
    if (!m_widths.isEmpty()) {
        std::nth_element(m_widths.begin(), m_widths.begin() + m_widths.size() / 2, m_widths.end());
        limit = kLargeFactor * m_widths[m_widths.size() / 2];
    }
    double widest = 0;
    for (int axis = 0; axis < 3; ++axis)
        m_origin[axis] = std::numeric_limits<double>::infinity();
    const auto regular = [&](uint64 i) {
        const WidenedBox& box = boxes[i];
        return active[i] && widthOf(box) <= limit && std::isfinite(box.low[0] + box.low[1] + box.low[2]);
    };
    for (uint64 i = 0; i < count; ++i)
        if (regular(i)) {
            widest = std::max(widest, widthOf(boxes[i]));
            for (int axis = 0; axis < 3; ++axis)
                m_origin[axis] = std::min(m_origin[axis], boxes[i].low[axis]);
        }
    m_reach = widest > 0 ? widest * (1 + kGridReachAllowance) : 1;

    // Sized by the active boxes, not the filed ones, so that building again allocates nothing.
    uint64 activeCount = 0;
    for (uint64 i = 0; i < count; ++i)
        activeCount += active[i] != 0;
    m_bucketBits = bucketBitsFor(activeCount);
    m_cellKeys.resize(count);
    // Boxes that fill the block of their cells well, piles above all, get fine cells and a
    // bucket per cell when the block has no more cells than denseBucketsFor allows: a box's
    // neighbours then lie in a block little wider than their reach, with no hashing, and a row
    // of cells is one run of boxes. Other scenes get cells as wide as the reach, a bucket per
    // cell only when there are no more cells than hashed buckets: fine cells there would mean
    // more buckets to look into, most of them empty.
    uint64 filedCount = 0;
    int64 extent[3];
    double denseCells = 0;
    for (const int64 below : {kFineCellsBelow, int64(1)}) {
        m_cellsBelow = below;
        // A little more than reach / below: the margin keeps the low corners of overlapping
        // boxes within `below` cells whatever the rounding.
        m_cellSize = m_reach * (1 + kGridReachAllowance) / double(below);
        filedCount = 0;
        for (uint64 i = 0; i < count; ++i) {
            m_cellKeys[i] = !active[i] ? kAbsent : regular(i) ? cellKey(boxes[i].low) : kLarge;
            filedCount += m_cellKeys[i] < kAbsent;
        }
        for (int64& cells : extent)
            cells = 0;
        for (uint64 i = 0; i < count; ++i)
            if (m_cellKeys[i] < kAbsent)
                for (int axis = 0; axis < 3; ++axis)
                    extent[axis] = std::max(extent[axis], keyPart(m_cellKeys[i], axis) + 1);
        denseCells = double(extent[0]) * double(extent[1]) * double(extent[2]);
        m_dense = denseCells <= double(below == 1 ? uint64(1) << m_bucketBits : denseBucketsFor(activeCount));
        if (m_dense || below == 1)
            break;
    }
    for (int axis = 0; axis < 3; ++axis)
        m_extent[axis] = extent[axis];

    // Counting sort of the filed boxes by bucket, each bucket in increasing order.
    const uint64 buckets = m_dense ? uint64(denseCells) : uint64(1) << m_bucketBits;
    m_bucketStarts.resize(buckets + 1);
    std::fill(m_bucketStarts.begin(), m_bucketStarts.end(), 0u);
    for (uint64 i = 0; i < count; ++i)
        if (m_cellKeys[i] < kAbsent)
            ++m_bucketStarts[bucketOf(m_cellKeys[i])];
    for (uint64 b = 1; b <= buckets; ++b)
        m_bucketStarts[b] += m_bucketStarts[b - 1];
    m_filed.resize(filedCount);
    m_large.resize(0);
    for (uint64 i = count; i-- > 0;)
        if (m_cellKeys[i] < kAbsent)
            m_filed[--m_bucketStarts[bucketOf(m_cellKeys[i])]] = uint32(i);
    for (uint64 i = 0; i < count; ++i)
        if (m_cellKeys[i] == kLarge)
            m_large.pushBack(uint32(i));

    // The lists, within their budget; a list is gathered in place at the end of the others.
    const uint64 budget = kListBudgetPerBox * count + 64;
    m_lists.resize(budget);
    m_listStarts.resize(count);
    m_listEnds.resize(count);
    uint32 used = 0;
    for (uint64 i = 0; i < count; ++i) {
        m_listStarts[i] = used;
        m_listEnds[i] = kUnlisted;
        if (m_cellKeys[i] >= kAbsent)
            continue;
        // Sorted once the balls apart are left out: about a third fewer to sort in a pile.
        const uint64 found = gatherInto(boxes[i], i, m_lists.data() + used, budget - used, false);
        if (found <= budget - used) {
            uint32* const list = m_lists.data() + used;
            const uint64 kept = balls[i].radius >= 0 ? keepBallPairs(balls, i, list, found) : found;
            sortIndices(list, list + kept);
            used += uint32(kept);
            m_listEnds[i] = used;
        } else {
            m_listEnds[i] = kUnlisted;
        }
    }
}

uint64 PairGrid::keepBallPairs(const WidenedBall* balls, uint64 index, uint32* list, uint64 count) {
    const WidenedBall& ball = balls[index];
    uint64 kept = 0;
    for (uint64 k = 0; k < count; ++k) {
        const WidenedBall& other = balls[list[k]];
        const double x = ball.centre[0] - other.centre[0], y = ball.centre[1] - other.centre[1],
                     z = ball.centre[2] - other.centre[2];
        // A little wider than the radii, so that rounding never parts balls that touch.
        const double reach = (ball.radius + other.radius) * (1 + kBallPairAllowance);
        if (other.radius < 0 || !(x * x + y * y + z * z > reach * reach))
            list[kept++] = list[k];
    }
    return kept;
}

uint32 PairGrid::bucketBitsFor(uint64 count) {
    return uint32(std::max(4, int(std::bit_width(2 * count))));
}

uint64 PairGrid::denseBucketsFor(uint64 count) {
    return uint64(kFineCellsBelow * kFineCellsBelow * kFineCellsBelow) << bucketBitsFor(count);
}

bool PairGrid::listed(uint64 index, const uint32*& first, const uint32*& last) const {
    if (m_listEnds[index] == kUnlisted)
        return false;
    first = m_lists.data() + m_listStarts[index];
    last = m_lists.data() + m_listEnds[index];
    return true;
}

void PairGrid::gather(const WidenedBox& box, uint64 after, Array<uint32>& out) const {
    out.resize(m_count);
    out.resize(gatherInto(box, after, out.data(), m_count, true));
}

uint64 PairGrid::gatherInto(const WidenedBox& box, uint64 after, uint32* out, uint64 capacity,
                            bool sorted) const {
    uint64 found = 0;
    const auto take = [&](uint32 j) {
        if (found < capacity)
            out[found] = j;
        ++found;
    };
    int64 low[3], high[3];
    if (!cellsAround(box, low, high)) {
        for (uint64 j = after + 1; j < m_count; ++j)
            if (m_cellKeys[j] != kAbsent && overlaps(m_boxes[j], box))
                take(uint32(j));
        return found;
    }
    if (m_dense) {
        for (int axis = 0; axis < 3; ++axis)
            high[axis] = std::min(high[axis], m_extent[axis] - 1);
        // Layer by layer, row by row, as scenes usually number their bodies: while the bodies
        // keep to the places they were numbered in, the boxes come nearly in order.
        // The cells of a row are one run of boxes: from the start of its first cell to that of
        // the cell after its last.
        const int64 cells = high[0] - low[0] + 1, layer = m_extent[0] * m_extent[1];
        const uint32* const filed = m_filed.data();
        const WidenedBox* const boxes = m_boxes;
        for (int64 y = low[1]; y <= high[1] && cells > 0 && low[2] <= high[2]; ++y) {
            const uint32* row = m_bucketStarts.data() + low[0] + m_extent[0] * (y + m_extent[1] * low[2]);
            for (int64 z = low[2]; z <= high[2]; ++z, row += layer)
                for (uint32 e = row[0], last = row[cells]; e < last; ++e) {
                    const uint32 j = filed[e];
                    if (j > after && overlaps(boxes[j], box))
                        take(j);
                }
        }
    }
    for (int64 y = low[1]; !m_dense && y <= high[1]; ++y)
        for (int64 z = low[2]; z <= high[2]; ++z)
            for (int64 x = low[0]; x <= high[0]; ++x) {
                const uint64 key = keyOf(x, y, z);
                const uint64 bucket = bucketOf(key);
                // A bucket holds its boxes in increasing order: walk it down to `after`.
                for (uint32 e = m_bucketStarts[bucket + 1]; e-- > m_bucketStarts[bucket];) {
                    const uint32 j = m_filed[e];
                    if (j <= after)
                        break;
                    if (m_cellKeys[j] == key && overlaps(m_boxes[j], box))
                        take(j);
                }
            }
    for (uint64 e = m_large.size(); e-- > 0;) {
        const uint32 j = m_large[e];
        if (j <= after)
            break;
        if (overlaps(m_boxes[j], box))
            take(j);
    }
    if (sorted && found <= capacity)
        sortIndices(out, out + found);
    return found;
}

bool PairGrid::cellsAround(const WidenedBox& box, int64 (&low)[3], int64 (&high)[3]) const {
    int64 cells = 1;
    for (int axis = 0; axis < 3; ++axis) {
        // A filed box that overlaps `box` has its low corner at most m_cellsBelow cells below box's.
        low[axis] = std::max<int64>(cellOf(box.low[axis], axis) - m_cellsBelow, 0);
        high[axis] = std::min<int64>(cellOf(box.high[axis], axis), kCellsPerAxis - 1);
        cells *= std::max<int64>(high[axis] - low[axis] + 1, 0);
    }
    return cells <= kMaxGatheredCells * m_cellsBelow * m_cellsBelow * m_cellsBelow;
}

int64 PairGrid::cellOf(double value, int axis) const {
    const double cell = std::floor((value - m_origin[axis]) / m_cellSize);
    if (!(cell >= 0))
        return cell < 0 ? 0 : kCellsPerAxis; // NaN: past every cell
    return cell < double(kCellsPerAxis) ? int64(cell) : kCellsPerAxis;
}

uint64 PairGrid::cellKey(const double (&point)[3]) const {
    uint64 key = 0;
    for (int axis = 0; axis < 3; ++axis) {
        const int64 cell = cellOf(point[axis], axis);
        if (cell >= kCellsPerAxis)
            return kLarge;
        key |= uint64(cell) << (kKeyBits * axis);
    }
    return key;
}

} // namespace zor
