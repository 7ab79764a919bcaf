#include "physics/engine3d/broadphase/BroadPhase.h"
#include "physics/engine3d/collision/CollisionSettings.h"

#include <algorithm>
#include <cmath>

namespace zor {
namespace {

using namespace settings;

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

} // namespace

void BroadPhase::build(const WidenedBox* boxes, const WidenedBall* balls, const uint8* active, uint64 count) {
    m_fatBoxes.beginStage();
    m_leftLastStage = m_leftThisStage;
    m_leftThisStage = 0;
    // Each primitive's stage room is worked out as its fat box is kept or made, while its
    // bounds are at hand: a pass of its own would read them all again.
    if (!(count == m_count && count != 0 && keep(boxes, balls, active)))
        buildAnew(boxes, balls, active, count);
}

void BroadPhase::buildAnew(const WidenedBox* boxes, const WidenedBall* balls, const uint8* active,
                           uint64 count) {
    m_fatBoxes.resize(count, count != m_count);
    m_gatheredLoose.setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo);
    m_count = count;
    m_gathers.resize(count);
    m_active.resize(count);
    m_standing.resize(count);
    for (uint64 i = 0; i < count; ++i) {
        fatten(i, boxes[i], balls[i]);
        m_active[i] = active[i];
        m_fatBoxes.setStageRoom(i, balls[i], active[i]);
    }
    m_looseCells.resize(count, looseLimit(count));
    m_gatheredLoose.resize(count);
    rebuild();
}

bool BroadPhase::keep(const WidenedBox* boxes, const WidenedBall* balls, const uint8* active) {
    uint64 loose = 0;
    // Spheres with the wide margin that have come to rest: when many have, building again gives
    // them the narrow one, which leaves their diagonal neighbours out.
    uint64 calmed = 0;
    for (uint64 i = 0; i < m_count; ++i) {
        loose +=
            active[i] && !(m_standing[i] == Standing::Settled && m_fatBoxes.holds(i, boxes[i], balls[i]));
        calmed += active[i] && m_fatBoxes.calmed(i);
    }
    if (loose > keptLooseLimit(m_count, m_leftLastStage) || calmed > calmedLimit(m_count))
        return false;
    for (uint64 i = 0; i < m_count; ++i) {
        m_active[i] = active[i];
        if (!active[i]) {
            if (m_standing[i] == Standing::Loose) {
                m_looseCells.unfile(i);
                m_standing[i] = Standing::Absent;
                --m_looseCount;
            }
        } else if (m_standing[i] == Standing::Absent || !m_fatBoxes.holds(i, boxes[i], balls[i])) {
            loosen(i, boxes[i], balls[i]);
        }
        m_fatBoxes.setStageRoom(i, balls[i], active[i]);
    }
    ++m_generation;
    return true;
}

void BroadPhase::rebuild() {
    m_grid.build(m_fatBoxes.fatBoxes(), m_fatBoxes.fatBalls(), m_active.data(), m_count);
    m_looseCells.layOut(m_grid);
    for (uint64 i = 0; i < m_count; ++i)
        m_standing[i] = m_active[i] ? Standing::Settled : Standing::Absent;
    m_looseCount = 0;
    ++m_generation;
    ++m_build;
    m_gathers.gridBuilt();
}

void BroadPhase::loosen(uint64 index, const WidenedBox& box, const WidenedBall& ball) {
    if (m_standing[index] == Standing::Loose) {
        m_looseCells.unfile(index);
    } else {
        m_standing[index] = Standing::Loose;
        ++m_looseCount;
    }
    m_fatBoxes.markLeft(index);
    fatten(index, box, ball);
    m_looseCells.forgetRange(index);
    m_looseCells.file(index, m_fatBoxes.fatBox(index), m_grid);
}

void BroadPhase::movedOut(uint64 index, const WidenedBox& box, const WidenedBall& ball) {
    // A primitive inactive when the stage began is no candidate of any walk: nothing to refile.
    if (m_standing[index] == Standing::Absent)
        return;
    ++m_generation;
    ++m_leftThisStage;
    if (m_standing[index] == Standing::Settled && m_looseCount == looseLimit(m_count)) {
        m_fatBoxes.markLeft(index);
        fatten(index, box, ball);
        rebuild();
        return;
    }
    loosen(index, box, ball);
}

void BroadPhase::startWalk(uint64 index, uint64 after) {
    // A settled primitive's own candidates hold until the grid is built again: only the loose
    // ones are gathered again.
    const bool sameSettled =
        m_walk.index == index && m_walk.build == m_build && m_standing[index] == Standing::Settled;
    m_walk.index = index;
    m_walk.build = m_build;
    // The fat box itself is read only to gather: a settled primitive's list needs a byte of it.
    if (!sameSettled) {
        m_walk.everyPrimitive = m_grid.isLarge(index) || !m_fatBoxes.finite(index);
        if (m_walk.everyPrimitive)
            return;
        if (m_standing[index] != Standing::Settled || !m_grid.listed(index, m_walk.listed, m_walk.listedEnd))
            m_gathers.gather(index, m_fatBoxes.fatBox(index), m_grid, m_walk.listed, m_walk.listedEnd);
    }
    if (m_walk.everyPrimitive)
        return;
    m_gatheredLooseCount = 0;
    if (m_looseCount != 0)
        m_gatheredLooseCount = m_looseCells.gather(index, after, m_fatBoxes.fatBoxes(), m_standing.data(),
                                                   m_count, m_grid, m_gatheredLoose.data());
    m_walk.loose = m_gatheredLoose.data();
    m_walk.looseEnd = m_gatheredLoose.data() + m_gatheredLooseCount;
}

} // namespace zor
