#include "physics/engine3d/broadphase/BroadPhase.h"
#include "physics/engine3d/collision/CollisionSettings.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace zor {
namespace {

using namespace settings;
constexpr uint32 kNone = ~uint32(0);

/// Loose primitives allowed before the grid is built again: enough that a hard impact, which
/// pushes many bodies out of their fat boxes, builds it again only a few times.
uint64 looseLimit(uint64 count) {
    return kLooseBase + count / kLooseShare;
}

/// Loose primitives a new collision stage may start with, when `left` left their fat boxes in
/// the last stage's passes. Every walk gathers the loose ones, so carrying them costs a stage
/// about as many as there are; building the grid again costs about as much as all primitives,
/// and lasts until as many have left again. The number that balances the two grows as the square
/// root of all primitives times those leaving per stage, as an order quantity grows with demand:
/// a pile that settles slowly builds often, one whose bodies keep leaving (a tall pile creeping)
/// carries more. Never more than a sixteenth of them.
uint64 keptLooseLimit(uint64 count, uint64 left) {
    return kKeptLooseBase + std::min(count / kKeptLooseShare,
                                     uint64(std::sqrt(double(count) * double(left) / kKeptLooseCost)));
}

/// Spheres with the wide margin that have come to rest a new stage may start with (see keep).
uint64 calmedLimit(uint64 count) {
    return kCalmedBase + count / kCalmedShare;
}

WidenedBox fattened(const WidenedBox& box) {
    const double margin =
        kFatMargin * std::max({box.high[0] - box.low[0], box.high[1] - box.low[1], box.high[2] - box.low[2]});
    WidenedBox fat;
    for (int axis = 0; axis < 3; ++axis) {
        fat.low[axis] = box.low[axis] - margin;
        fat.high[axis] = box.high[axis] + margin;
    }
    return fat;
}

bool isFinite(const WidenedBox& box) {
    return std::isfinite(box.low[0] + box.low[1] + box.low[2] + box.high[0] + box.high[1] + box.high[2]);
}

} // namespace

void BroadPhase::build(const WidenedBox* boxes, const WidenedBall* balls, const uint8* active, uint64 count) {
    ++m_stage;
    m_leftLastStage = m_leftThisStage;
    m_leftThisStage = 0;
    if (!(count == m_count && count != 0 && keep(boxes, balls, active)))
        buildAnew(boxes, balls, active, count);
    for (uint64 i = 0; i < count; ++i)
        m_stageRooms[i] = m_active[i] ? stageRoomOf(i, balls[i]) : StageRoom{-1, -1};
}

void BroadPhase::buildAnew(const WidenedBox* boxes, const WidenedBall* balls, const uint8* active,
                           uint64 count) {
    if (count != m_count) {
        // New primitives have left no fat box yet.
        m_leftAt.resize(count);
        std::fill(m_leftAt.begin(), m_leftAt.end(), uint64(0));
        m_restlessFat.resize(count);
    }
    for (Array<uint32>* array : {&m_looseUnfiled, &m_gathered, &m_gatheredLoose, &m_gatherPool})
        array->setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo);
    m_count = count;
    m_fat.resize(count);
    m_fatBalls.resize(count);
    m_ballRooms.resize(count);
    m_stageRooms.resize(count);
    m_gatherCached.resize(count);
    m_active.resize(count);
    m_standing.resize(count);
    for (uint64 i = 0; i < count; ++i) {
        fatten(i, boxes[i], balls[i]);
        m_active[i] = active[i];
    }
    // Sized once: nothing grows in the passes.
    m_looseBucketBits = std::max(4, int(std::bit_width(2 * looseLimit(count))));
    // Room for a bucket per cell of any dense block the grid may choose, then the hashed ones.
    m_looseHeads.resize(PairGrid::denseBucketsFor(count) + (uint64(1) << m_looseBucketBits));
    m_looseRowMasks.resize(PairGrid::denseBucketsFor(count));
    m_cellRanges.resize(count);
    for (CellRange& range : m_cellRanges)
        range.build = 0;
    m_looseEntries.resize(looseLimit(count));
    m_looseSlots.resize(count);
    m_looseKeys.resize(count);
    m_looseUnfiled.resize(count);
    m_gathered.resize(count);
    m_gatheredLoose.resize(count);
    m_gatherPool.resize(kGatherPoolPerPrimitive * count + 64);
    m_gatherStart.resize(count);
    m_gatherEnd.resize(count);
    rebuild();
}

bool BroadPhase::restless(uint64 index) const {
    return m_leftAt[index] != 0 && m_stage - m_leftAt[index] < kRestlessStages;
}

void BroadPhase::fatten(uint64 index, const WidenedBox& box, const WidenedBall& ball) {
    m_gatherCached[index] = 0;
    WidenedBall& fatBall = m_fatBalls[index];
    m_restlessFat[index] = false;
    if (!(ball.radius >= 0)) {
        fatBall = kNoBall;
        m_ballRooms[index] = {-1, -1};
        m_stageRooms[index] = {-1, -1};
        m_fat[index] = fattened(box);
        return;
    }
    m_restlessFat[index] = restless(index);
    const double margin = m_restlessFat[index] ? kRestlessBallMargin : kFatBallMargin;
    fatBall = {{ball.centre[0], ball.centre[1], ball.centre[2]}, ball.radius * (1 + 2 * margin)};
    m_fat[index] = boxOf(fatBall);
    // A sphere's margin for rounding grows by a millionth of a millionth of how far it moves,
    // which inside its fat ball is at most the fat radius; and a float sphere's radius, worked
    // out again each stage from its world matrix, may come out a few units in the last place
    // larger while it keeps its fat ball.
    const double largest = ball.radius * (1 + kBallRadiusAllowance) + fatBall.radius * kBallMoveAllowance;
    const double slack = fatBall.radius - largest;
    m_ballRooms[index] = {largest, slack >= 0 ? roomSquared(slack) : -1};
    m_stageRooms[index] = stageRoomOf(index, ball);
}

BroadPhase::StageRoom BroadPhase::stageRoomOf(uint64 index, const WidenedBall& ball) const {
    // Within the room a sphere's coordinates stay below the fat ball's largest plus its radius,
    // and its radius widened for rounding grows by a millionth of a millionth of them (twice
    // that covers the rounding of the sums). The bound serves while it lies within the largest
    // radius the room was made for: a sphere of another size now filed here may not.
    const BallRoom& room = m_ballRooms[index];
    const WidenedBall& fat = m_fatBalls[index];
    const double magnitude =
        std::max({std::fabs(fat.centre[0]), std::fabs(fat.centre[1]), std::fabs(fat.centre[2])}) + fat.radius;
    const double bound = ball.radius + 2e-12 * magnitude;
    if (!(ball.radius >= 0 && room.squared >= 0 && bound <= room.largestRadius))
        return {-1, -1};
    return {bound, room.squared};
}

bool BroadPhase::keep(const WidenedBox* boxes, const WidenedBall* balls, const uint8* active) {
    uint64 loose = 0;
    // Spheres with the wide margin that have come to rest: when many have, building again gives
    // them the narrow one, which leaves their diagonal neighbours out.
    uint64 calmed = 0;
    for (uint64 i = 0; i < m_count; ++i) {
        loose += active[i] && !(m_standing[i] == kSettled && holds(i, boxes[i], balls[i]));
        calmed += active[i] && m_restlessFat[i] && !restless(i);
    }
    if (loose > keptLooseLimit(m_count, m_leftLastStage) || calmed > calmedLimit(m_count))
        return false;
    for (uint64 i = 0; i < m_count; ++i) {
        m_active[i] = active[i];
        if (!active[i]) {
            if (m_standing[i] == kLoose) {
                unfileLoose(i);
                m_standing[i] = kAbsent;
                --m_looseCount;
            }
            continue;
        }
        if (m_standing[i] != kAbsent && holds(i, boxes[i], balls[i]))
            continue;
        if (m_standing[i] == kLoose) {
            unfileLoose(i);
        } else {
            m_standing[i] = kLoose;
            ++m_looseCount;
        }
        m_leftAt[i] = m_stage;
        fatten(i, boxes[i], balls[i]);
        m_cellRanges[i].build = 0;
        fileLoose(i);
    }
    ++m_generation;
    return true;
}

void BroadPhase::rebuild() {
    m_grid.build(m_fat.data(), m_fatBalls.data(), m_active.data(), m_count);
    // Loose cells about as wide as the reach: a walk looks into few of them, and there are few
    // loose primitives to tell apart. A power of two of grid cells on each axis, so that a grid
    // cell's loose cell is a shift away.
    m_looseShift = int(std::bit_width(uint64(m_grid.cellsBelow()))) - 1;
    m_looseDenseCells = 1;
    for (int axis = 0; axis < 3; ++axis) {
        m_looseExtent[axis] = (m_grid.denseExtent(axis) + (int64(1) << m_looseShift) - 1) >> m_looseShift;
        m_looseDenseCells *= uint64(m_looseExtent[axis]);
    }
    m_looseRowsMasked = m_looseExtent[0] <= 64;
    m_looseOutside = 0;
    // Only this block's rows and cells are cleared: the room is for the largest block the grid
    // may lay out.
    const uint64 rows = m_looseExtent[0] != 0 ? m_looseDenseCells / uint64(m_looseExtent[0]) : 0;
    std::fill(m_looseRowMasks.begin(), m_looseRowMasks.begin() + rows, uint64(0));
    for (uint64 i = 0; i < m_count; ++i)
        m_standing[i] = m_active[i] ? kSettled : kAbsent;
    const uint64 heads = m_looseDenseCells + (uint64(1) << m_looseBucketBits);
    std::fill(m_looseHeads.begin(), m_looseHeads.begin() + heads, kNone);
    m_looseEntriesUsed = 0;
    m_looseFree = kNone;
    m_looseUnfiled.resize(0);
    m_looseCount = 0;
    ++m_generation;
    ++m_build;
    m_gatherPoolUsed = 0;
}

void BroadPhase::movedOut(uint64 index, const WidenedBox& box, const WidenedBall& ball) {
    // A primitive inactive when the stage began is no candidate of any walk: nothing to refile.
    if (m_standing[index] == kAbsent)
        return;
    ++m_generation;
    ++m_leftThisStage;
    m_leftAt[index] = m_stage;
    if (m_standing[index] == kSettled) {
        if (m_looseCount == looseLimit(m_count)) {
            fatten(index, box, ball);
            rebuild();
            return;
        }
        m_standing[index] = kLoose;
        ++m_looseCount;
    } else {
        unfileLoose(index);
    }
    fatten(index, box, ball);
    m_cellRanges[index].build = 0;
    fileLoose(index);
}

bool BroadPhase::denseCell(uint64 key, uint64& row, int64& x) const {
    x = PairGrid::keyPart(key, 0);
    const int64 y = PairGrid::keyPart(key, 1), z = PairGrid::keyPart(key, 2);
    if (!(x < m_looseExtent[0] && y < m_looseExtent[1] && z < m_looseExtent[2]))
        return false;
    row = uint64(y + m_looseExtent[1] * z);
    return true;
}

uint64 BroadPhase::looseKeyOf(uint64 gridKey) const {
    if (gridKey == PairGrid::kLarge)
        return gridKey;
    return PairGrid::keyOf(PairGrid::keyPart(gridKey, 0) >> m_looseShift,
                           PairGrid::keyPart(gridKey, 1) >> m_looseShift,
                           PairGrid::keyPart(gridKey, 2) >> m_looseShift);
}

uint32& BroadPhase::looseHead(uint64 key) {
    uint64 row;
    int64 x;
    if (denseCell(key, row, x))
        return m_looseHeads[row * uint64(m_looseExtent[0]) + uint64(x)];
    return m_looseHeads[m_looseDenseCells + hashedBucket(key, m_looseBucketBits)];
}

void BroadPhase::markLooseCell(uint64 key, int64 change) {
    uint64 row;
    int64 x;
    if (!denseCell(key, row, x)) {
        m_looseOutside = uint64(int64(m_looseOutside) + change);
    } else if (m_looseRowsMasked) {
        const uint64 bit = uint64(1) << x;
        m_looseRowMasks[row] =
            looseHead(key) != kNone ? m_looseRowMasks[row] | bit : m_looseRowMasks[row] & ~bit;
    }
}

const BroadPhase::CellRange& BroadPhase::workOutCellRange(uint64 index) {
    CellRange& range = m_cellRanges[index];
    const WidenedBox& fat = m_fat[index];
    int64 low[3], high[3];
    range.build = m_build;
    range.everyCell = !isFinite(fat) || !m_grid.cellsAround(fat, low, high);
    for (int axis = 0; axis < 3 && !range.everyCell; ++axis) {
        range.low[axis] = int32(low[axis] >> m_looseShift);
        range.high[axis] = int32(high[axis] >> m_looseShift);
    }
    return range;
}

void BroadPhase::fileLoose(uint64 index) {
    const WidenedBox& fat = m_fat[index];
    // Only boxes no wider than the grid's reach may be filed by their low corner: the cells
    // around a box reach no further below it.
    const double reach = m_grid.reach();
    const bool fits = isFinite(fat) && !m_grid.isLarge(index) && fat.high[0] - fat.low[0] <= reach &&
                      fat.high[1] - fat.low[1] <= reach && fat.high[2] - fat.low[2] <= reach;
    const uint64 key = fits ? looseKeyOf(m_grid.cellKey(fat.low)) : PairGrid::kLarge;
    m_looseKeys[index] = key;
    if (key == PairGrid::kLarge) {
        m_looseUnfiled.pushBack(uint32(index));
        return;
    }
    // No more loose primitives than entries: the grid is built again before.
    uint32 slot = m_looseFree;
    if (slot != kNone)
        m_looseFree = m_looseEntries[slot].next;
    else
        slot = m_looseEntriesUsed++;
    uint32& head = looseHead(key);
    m_looseEntries[slot] = {fat, key, uint32(index), head};
    head = slot;
    m_looseSlots[index] = slot;
    markLooseCell(key, 1);
}

void BroadPhase::unfileLoose(uint64 index) {
    if (m_looseKeys[index] == PairGrid::kLarge) {
        uint32* last = std::remove(m_looseUnfiled.begin(), m_looseUnfiled.end(), uint32(index));
        m_looseUnfiled.resize(uint64(last - m_looseUnfiled.begin()));
        return;
    }
    const uint32 slot = m_looseSlots[index];
    for (uint32* link = &looseHead(m_looseKeys[index]); *link != kNone; link = &m_looseEntries[*link].next)
        if (*link == slot) {
            *link = m_looseEntries[slot].next;
            m_looseEntries[slot].next = m_looseFree;
            m_looseFree = slot;
            markLooseCell(m_looseKeys[index], -1);
            return;
        }
}

void BroadPhase::gatherLoose(uint64 index, uint64 after) {
    // Written through a pointer into room for every primitive.
    uint32* const out = m_gatheredLoose.data();
    uint64 found = 0;
    const WidenedBox box = m_fat[index];
    const WidenedBox* const fat = m_fat.data();
    const LooseEntry* const entries = m_looseEntries.data();
    const auto take = [&](uint32 j) {
        if (j > after && overlaps(fat[j], box))
            out[found++] = j;
    };
    // The entries of a cell from `first` on (those of `key` alone for a hashed bucket).
    const auto takeCell = [&](uint32 first, uint64 key, bool hashed) {
        for (uint32 e = first; e != kNone; e = entries[e].next) {
            const LooseEntry& entry = entries[e];
            if (entry.index > after && overlaps(entry.fat, box) && (!hashed || entry.key == key))
                out[found++] = entry.index;
        }
    };
    const CellRange& range = cellRangeOf(index);
    if (range.everyCell) {
        for (uint64 j = after + 1; j < m_count; ++j)
            if (m_standing[j] == kLoose)
                take(uint32(j));
        m_gatheredLooseCount = found;
        return;
    }
    // The cells inside the dense block, each its own bucket: a row's mask tells which hold any.
    const int64 extentX = m_looseExtent[0], extentY = m_looseExtent[1];
    const int64 lowX = range.low[0], highX = std::min<int64>(range.high[0], extentX - 1);
    const int64 highY = std::min<int64>(range.high[1], extentY - 1);
    const int64 highZ = std::min<int64>(range.high[2], m_looseExtent[2] - 1);
    const uint32* const heads = m_looseHeads.data();
    for (int64 z = range.low[2]; z <= highZ && lowX <= highX; ++z)
        for (int64 y = range.low[1]; y <= highY; ++y) {
            const int64 row = y + extentY * z;
            const uint32* const rowHeads = heads + extentX * row;
            if (!m_looseRowsMasked) {
                for (int64 x = lowX; x <= highX; ++x)
                    takeCell(rowHeads[x], 0, false);
                continue;
            }
            uint64 cells = m_looseRowMasks[uint64(row)] >> lowX;
            if (highX - lowX < 63)
                cells &= (uint64(2) << (highX - lowX)) - 1;
            for (; cells != 0; cells &= cells - 1)
                takeCell(rowHeads[lowX + std::countr_zero(cells)], 0, false);
        }
    // The cells outside it share hashed buckets, when any loose primitive is filed there.
    for (int64 z = range.low[2]; m_looseOutside != 0 && z <= range.high[2]; ++z)
        for (int64 y = range.low[1]; y <= range.high[1]; ++y)
            for (int64 x = range.low[0]; x <= range.high[0]; ++x) {
                if (x <= highX && y <= highY && z <= highZ)
                    continue;
                const uint64 key = PairGrid::keyOf(x, y, z);
                takeCell(looseHead(key), key, true);
            }
    for (uint32 j : m_looseUnfiled)
        take(j);
    if (found > 1)
        sortIndices(out, out + found);
    m_gatheredLooseCount = found;
}

void BroadPhase::gatherFromGrid(uint64 index) {
    // The filed boxes that overlap a fat box stay the same while the grid and the fat box do (the
    // filed ones that move out become loose, and are found as such): gathered once, kept in the
    // pool while it has room, every later primitive.
    if (m_gatherCached[index] != m_build) {
        m_grid.gather(m_fat[index], index, m_gathered);
        if (m_gatherPoolUsed + m_gathered.size() > m_gatherPool.size()) {
            m_walk.listed = m_gathered.begin();
            m_walk.listedEnd = m_gathered.end();
            return;
        }
        std::copy(m_gathered.begin(), m_gathered.end(), m_gatherPool.begin() + m_gatherPoolUsed);
        m_gatherStart[index] = uint32(m_gatherPoolUsed);
        m_gatherPoolUsed += m_gathered.size();
        m_gatherEnd[index] = uint32(m_gatherPoolUsed);
        m_gatherCached[index] = m_build;
    }
    m_walk.listed = m_gatherPool.data() + m_gatherStart[index];
    m_walk.listedEnd = m_gatherPool.data() + m_gatherEnd[index];
}

void BroadPhase::startWalk(uint64 index, uint64 after) {
    // A settled primitive's own candidates hold until the grid is built again: only the loose
    // ones are gathered again.
    const bool sameSettled =
        m_walk.index == index && m_walk.build == m_build && m_standing[index] == kSettled;
    m_walk.index = index;
    m_walk.build = m_build;
    const WidenedBox& fat = m_fat[index];
    if (!sameSettled) {
        m_walk.everyPrimitive = m_grid.isLarge(index) || !isFinite(fat);
        if (m_walk.everyPrimitive)
            return;
        if (m_standing[index] != kSettled || !m_grid.listed(index, m_walk.listed, m_walk.listedEnd))
            gatherFromGrid(index);
    }
    if (m_walk.everyPrimitive)
        return;
    m_gatheredLooseCount = 0;
    if (m_looseCount != 0)
        gatherLoose(index, after);
    m_walk.loose = m_gatheredLoose.data();
    m_walk.looseEnd = m_gatheredLoose.data() + m_gatheredLooseCount;
}

} // namespace zor
