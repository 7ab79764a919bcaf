#include "physics/engine3d/BroadPhase.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace zor {
namespace {

// How much wider than a box its fat box is, as a part of the box's width on each side: piled
// bodies are pushed by a small part of their size in a pass, and a quarter keeps most bodies that
// land on a pile at speed inside.
constexpr double kFatMargin = 0.25;
constexpr uint32 kNone = ~uint32(0);

/// Loose primitives allowed before the grid is built again: enough that a hard impact, which
/// pushes many bodies out of their fat boxes, builds it again only a few times.
uint64 looseLimit(uint64 count) {
    return 64 + count / 2;
}

/// Loose primitives a new collision stage may start with: every walk gathers the loose ones, so
/// a stage that would start with many builds the grid again instead.
uint64 keptLooseLimit(uint64 count) {
    return 16 + count / 16;
}

WidenedBox fattened(const WidenedBox& box) {
    const double margin = kFatMargin * std::max({box.high[0] - box.low[0], box.high[1] - box.low[1],
                                                 box.high[2] - box.low[2]});
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

void BroadPhase::build(const WidenedBox* boxes, const uint8* active, uint64 count) {
    if (count == m_count && count != 0 && keep(boxes, active))
        return;
    for (Array<uint32>* array : {&m_looseUnfiled, &m_gathered, &m_gatheredLoose})
        array->setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo);
    m_count = count;
    m_fat.resize(count);
    m_active.resize(count);
    m_standing.resize(count);
    for (uint64 i = 0; i < count; ++i) {
        m_fat[i] = fattened(boxes[i]);
        m_active[i] = active[i];
    }
    // Sized once: nothing grows in the passes.
    m_looseBucketBits = std::max(4, int(std::bit_width(2 * looseLimit(count))));
    m_looseHeads.resize(uint64(1) << m_looseBucketBits);
    m_looseNext.resize(count);
    m_looseKeys.resize(count);
    m_looseUnfiled.resize(count);
    m_gathered.resize(count);
    m_gatheredLoose.resize(count);
    rebuild();
}

bool BroadPhase::keep(const WidenedBox* boxes, const uint8* active) {
    uint64 loose = 0;
    for (uint64 i = 0; i < m_count; ++i)
        loose += active[i] && !(m_standing[i] == kSettled && contains(m_fat[i], boxes[i]));
    if (loose > keptLooseLimit(m_count))
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
        if (m_standing[i] != kAbsent && contains(m_fat[i], boxes[i]))
            continue;
        if (m_standing[i] == kLoose) {
            unfileLoose(i);
        } else {
            m_standing[i] = kLoose;
            ++m_looseCount;
        }
        m_fat[i] = fattened(boxes[i]);
        fileLoose(i);
    }
    ++m_generation;
    return true;
}

void BroadPhase::rebuild() {
    m_grid.build(m_fat.data(), m_active.data(), m_count);
    for (uint64 i = 0; i < m_count; ++i)
        m_standing[i] = m_active[i] ? kSettled : kAbsent;
    std::fill(m_looseHeads.begin(), m_looseHeads.end(), kNone);
    m_looseUnfiled.resize(0);
    m_looseCount = 0;
    ++m_generation;
    ++m_build;
}

void BroadPhase::movedOut(uint64 index, const WidenedBox& box) {
    WidenedBox& fat = m_fat[index];
    ++m_generation;
    if (m_standing[index] == kSettled) {
        if (m_looseCount == looseLimit(m_count)) {
            fat = fattened(box);
            rebuild();
            return;
        }
        m_standing[index] = kLoose;
        ++m_looseCount;
    } else {
        unfileLoose(index);
    }
    fat = fattened(box);
    fileLoose(index);
}

uint64 BroadPhase::looseBucketOf(uint64 key) const {
    return hashedBucket(key, m_looseBucketBits);
}

void BroadPhase::fileLoose(uint64 index) {
    const WidenedBox& fat = m_fat[index];
    // Only boxes no wider than a cell may be filed by their low corner.
    const bool fits = isFinite(fat) && !m_grid.isLarge(index) && fat.high[0] - fat.low[0] <= m_grid.cellSize() &&
                      fat.high[1] - fat.low[1] <= m_grid.cellSize() && fat.high[2] - fat.low[2] <= m_grid.cellSize();
    const uint64 key = fits ? m_grid.cellKey(fat.low) : PairGrid::kLarge;
    m_looseKeys[index] = key;
    if (key == PairGrid::kLarge) {
        m_looseUnfiled.pushBack(uint32(index));
        return;
    }
    uint32& head = m_looseHeads[looseBucketOf(key)];
    m_looseNext[index] = head;
    head = uint32(index);
}

void BroadPhase::unfileLoose(uint64 index) {
    if (m_looseKeys[index] == PairGrid::kLarge) {
        uint32* last = std::remove(m_looseUnfiled.begin(), m_looseUnfiled.end(), uint32(index));
        m_looseUnfiled.resize(uint64(last - m_looseUnfiled.begin()));
        return;
    }
    for (uint32* link = &m_looseHeads[looseBucketOf(m_looseKeys[index])]; *link != kNone; link = &m_looseNext[*link])
        if (*link == index) {
            *link = m_looseNext[index];
            return;
        }
}

void BroadPhase::gatherLoose(const WidenedBox& box, uint64 after) {
    m_gatheredLoose.resize(0);
    int64 low[3], high[3];
    const bool everyCell = !isFinite(box) || !m_grid.cellsAround(box, low, high);
    for (uint64 j = after + 1; everyCell && j < m_count; ++j)
        if (m_standing[j] == kLoose && overlaps(m_fat[j], box))
            m_gatheredLoose.pushBack(uint32(j));
    if (everyCell)
        return;
    for (int64 z = low[2]; z <= high[2]; ++z)
        for (int64 y = low[1]; y <= high[1]; ++y)
            for (int64 x = low[0]; x <= high[0]; ++x) {
                const uint64 key = PairGrid::keyOf(x, y, z);
                for (uint32 j = m_looseHeads[looseBucketOf(key)]; j != kNone; j = m_looseNext[j])
                    if (j > after && m_looseKeys[j] == key && overlaps(m_fat[j], box))
                        m_gatheredLoose.pushBack(j);
            }
    for (uint32 j : m_looseUnfiled)
        if (j > after && overlaps(m_fat[j], box))
            m_gatheredLoose.pushBack(j);
    sortIndices(m_gatheredLoose.begin(), m_gatheredLoose.end());
}

void BroadPhase::startWalk(uint64 index, uint64 after) {
    // A settled primitive's own candidates hold until the grid is built again: only the loose
    // ones are gathered again.
    const bool sameSettled = m_walk.index == index && m_walk.build == m_build && m_standing[index] == kSettled;
    m_walk.index = index;
    m_walk.build = m_build;
    const WidenedBox& fat = m_fat[index];
    if (!sameSettled) {
        m_walk.everyPrimitive = m_grid.isLarge(index) || !isFinite(fat);
        if (m_walk.everyPrimitive)
            return;
        if (m_standing[index] != kSettled || !m_grid.listed(index, m_walk.listed, m_walk.listedEnd)) {
            m_grid.gather(fat, after, m_gathered);
            m_walk.listed = m_gathered.begin();
            m_walk.listedEnd = m_gathered.end();
        }
    }
    if (m_walk.everyPrimitive)
        return;
    m_gatheredLoose.resize(0);
    if (m_looseCount != 0)
        gatherLoose(fat, after);
    m_walk.loose = m_gatheredLoose.begin();
    m_walk.looseEnd = m_gatheredLoose.end();
}

} // namespace zor
