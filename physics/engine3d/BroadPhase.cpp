#include "physics/engine3d/BroadPhase.h"

#include <algorithm>
#include <cmath>

namespace zor {
namespace {

// How much wider than a box its fat box is, as a part of the box's width on each side: piled
// bodies are pushed by a small part of their size in a pass.
constexpr double kFatMargin = 0.1;
// Loose primitives cost every walk a little; past this many the grid is built again.
constexpr uint64 kLooseLimit = 32;

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
    for (Array<uint32>* array : {&m_loose, &m_gathered})
        array->setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo);
    m_count = count;
    m_fat.resize(count);
    m_active.resize(count);
    m_settled.resize(count);
    for (uint64 i = 0; i < count; ++i) {
        m_fat[i] = fattened(boxes[i]);
        m_active[i] = active[i];
    }
    // Sized once: nothing grows in the passes.
    m_loose.resize(kLooseLimit + 1);
    m_gathered.resize(count);
    rebuild();
}

void BroadPhase::rebuild() {
    m_grid.build(m_fat.data(), m_active.data(), m_active.size());
    for (uint64 i = 0; i < m_active.size(); ++i)
        m_settled[i] = m_active[i];
    m_loose.resize(0);
    m_looseCount = 0;
    ++m_generation;
}

void BroadPhase::moved(uint64 index, const WidenedBox& box) {
    WidenedBox& fat = m_fat[index];
    if (box.low[0] >= fat.low[0] && box.low[1] >= fat.low[1] && box.low[2] >= fat.low[2] &&
        box.high[0] <= fat.high[0] && box.high[1] <= fat.high[1] && box.high[2] <= fat.high[2])
        return;
    fat = fattened(box);
    ++m_generation;
    if (!m_settled[index])
        return;
    m_settled[index] = 0;
    if (m_loose.size() == kLooseLimit) {
        rebuild();
        return;
    }
    // Kept in increasing order.
    m_loose.pushBack(uint32(index));
    uint32* at = m_loose.end() - 1;
    for (; at != m_loose.begin() && at[-1] > index; --at)
        *at = at[-1];
    *at = uint32(index);
    m_looseCount = m_loose.size();
}

void BroadPhase::startWalk(uint64 index, uint64 after) {
    m_walk.index = index;
    m_walk.generation = m_generation;
    m_walk.loose = 0;
    const WidenedBox& fat = m_fat[index];
    m_walk.everyPrimitive = m_grid.isLarge(index) || !isFinite(fat);
    if (m_walk.everyPrimitive)
        return;
    if (!m_settled[index] || !m_grid.listed(index, m_walk.listed, m_walk.listedEnd)) {
        m_grid.gather(fat, after, m_gathered);
        m_walk.listed = m_gathered.begin();
        m_walk.listedEnd = m_gathered.end();
    }
}

} // namespace zor
