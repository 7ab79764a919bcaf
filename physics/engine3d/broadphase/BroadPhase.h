#pragma once

#include "common/containers/Array.h"
#include "physics/engine3d/broadphase/FatBoxes.h"
#include "physics/engine3d/broadphase/GridGathers.h"
#include "physics/engine3d/broadphase/LooseCells.h"
#include "physics/engine3d/broadphase/PairGrid.h"

namespace zor {

/// The broad phase of the collision stage: for a primitive, the primitives after it that may
/// touch it, in increasing order, wherever the responses of the passes have moved them.
///
/// Each primitive has a fat box (FatBoxes), whose pairs a PairGrid finds, kept from one stage
/// to the next while they serve; a primitive that leaves its fat box gets a new one and becomes
/// loose (LooseCells), and too many loose ones build the grid again. A box always lies in its fat
/// box, so the candidates always include every primitive whose box overlaps. The terms and the
/// invariants the walk relies on are in docs/engine3d.md.
class BroadPhase {
public:
    /// Sizes everything for `count` primitives and finds the pairs of the active ones' boxes
    /// (and balls, for spheres: a non-negative radius in `balls`, whose box is then not read). With as many
    /// primitives as last time the grid is kept unless too many have left their fat boxes or balls: one still
    /// inside keeps its pairs whatever primitive it is now (the pairs of fat boxes hold those of
    /// the boxes inside them), the others become loose.
    void build(const WidenedBox* boxes, const WidenedBall* balls, const uint8* active, uint64 count);
    /// The fat box of primitive `index`: its box lies inside until it moves out.
    const WidenedBox& fatBox(uint64 index) const { return m_fatBoxes.fatBox(index); }
    /// Changes whenever the fat box of primitive `index` does (FatBoxes::serial).
    uint64 fatBoxSerial(uint64 index) const { return m_fatBoxes.serial(index); }
    /// Primitive `index`, not a sphere, has moved to `box`; the move of one inactive when the
    /// stage began is ignored.
    void moved(uint64 index, const WidenedBox& box) {
        if (m_fatBoxes.hasBall(index) || !contains(m_fatBoxes.fatBox(index), box))
            movedOut(index, box, kNoBall);
    }
    /// Sphere `index`, its ball now centred at `ball.centre`, has moved. While the centre stays
    /// within the room of its fat ball, the ball takes the radius worked out for the stage, a
    /// bound on its own there: balls only ever tell what may touch, so a larger one changes no
    /// outcome, and the radius need not be worked out at every push. False when the ball must
    /// be placed and passed to movedSphere instead.
    bool movedWithinRoom(uint64 index, WidenedBall& ball) const {
        return m_fatBoxes.movedWithinRoom(index, ball);
    }
    /// Sphere `index` has moved to `ball`, as moved.
    void movedSphere(uint64 index, const WidenedBall& ball) {
        if (!m_fatBoxes.holdsMovedBall(index, ball))
            movedOut(index, FatBoxes::boxOf(ball), ball);
    }

    /// Calls `visit(j)` for each candidate j of `index` in increasing order that `mayTouch(j)`
    /// accepts: the primitives after it whose fat boxes overlap its own wherever the visits have
    /// moved them. `mayTouch` only looks; `visit` may move primitives.
    template <typename MayTouch, typename Visit>
    void forEachCandidate(uint64 index, MayTouch&& mayTouch, Visit&& visit) {
        m_walk.index = ~uint64(0);
        uint64 after = index;
        for (;;) {
            startWalk(index, after);
            if (m_walk.everyPrimitive) {
                for (uint64 j = after + 1; j < m_count; ++j)
                    if (mayTouch(j))
                        visit(j);
                return;
            }
            // Two increasing runs, merged; a changed fat box gathers them again.
            const uint32* listed = m_walk.listed;
            const uint32* loose = m_walk.loose;
            const uint32* const listedEnd = m_walk.listedEnd;
            const uint32* const looseEnd = m_walk.looseEnd;
            const uint64 generation = m_generation;
            while (listed != listedEnd && *listed <= after)
                ++listed;
            while (loose != looseEnd && *loose <= after)
                ++loose;
            if (loose == looseEnd) {
                // The settled run alone, the usual walk: a candidate turned down changes nothing.
                for (; listed != listedEnd; ++listed) {
                    const uint32 j = *listed;
                    if (!mayTouch(j))
                        continue;
                    visit(j);
                    if (m_generation != generation) {
                        after = j;
                        break;
                    }
                }
                if (listed == listedEnd)
                    return;
                continue;
            }
            do {
                // A loose primitive may be listed too: once is enough.
                while (listed != listedEnd && *listed <= after)
                    ++listed;
                while (loose != looseEnd && *loose <= after)
                    ++loose;
                if (loose == looseEnd) {
                    if (listed == listedEnd)
                        return;
                    after = *listed++;
                } else {
                    after = listed != listedEnd && *listed < *loose ? *listed++ : *loose++;
                }
                if (mayTouch(after))
                    visit(after);
            } while (m_generation == generation);
        }
    }

private:
    /// The candidates of one primitive as last gathered: two increasing runs, the settled
    /// candidates and the loose ones.
    struct Walk {
        uint64 index;
        /// The grid it was gathered from (see m_build).
        uint64 build;
        /// Every primitive is a candidate (a large or non-finite box).
        bool everyPrimitive;
        const uint32* listed;
        const uint32* listedEnd;
        const uint32* loose;
        const uint32* looseEnd;
    };

    static constexpr WidenedBall kNoBall{{0, 0, 0}, -1};
    /// Gives primitive `index` a fat box (and a fat ball for a sphere) around where it stands.
    void fatten(uint64 index, const WidenedBox& box, const WidenedBall& ball) {
        m_gathers.forget(index);
        m_fatBoxes.fatten(index, box, ball);
    }
    /// Primitive `index` has left its fat box or ball for `box` (and `ball`).
    void movedOut(uint64 index, const WidenedBox& box, const WidenedBall& ball);
    /// Makes primitive `index`, which has left its fat box, loose with a new one around `box`
    /// (and `ball`).
    void loosen(uint64 index, const WidenedBox& box, const WidenedBall& ball);
    void startWalk(uint64 index, uint64 after);
    /// Keeps the grid for new boxes of the same primitives, or of others as many, and gives each
    /// its stage room; false, changing nothing, when too many would be loose.
    bool keep(const WidenedBox* boxes, const WidenedBall* balls, const uint8* active);
    /// build without the grid kept: everything sized for `count` primitives, every one fattened
    /// and given its stage room.
    void buildAnew(const WidenedBox* boxes, const WidenedBall* balls, const uint8* active, uint64 count);
    void rebuild();

    PairGrid m_grid;
    FatBoxes m_fatBoxes;
    LooseCells m_looseCells;
    GridGathers m_gathers;
    uint64 m_count = 0;
    Array<uint8> m_active;
    Array<Standing> m_standing;
    uint64 m_looseCount = 0;
    /// The primitives that left their fat boxes or balls in the passes of this stage and of the
    /// last one.
    uint64 m_leftThisStage = 0;
    uint64 m_leftLastStage = 0;
    /// The walk under way, and its loose run: room for every primitive, the first
    /// m_gatheredLooseCount gathered.
    Walk m_walk{};
    Array<uint32> m_gatheredLoose;
    uint64 m_gatheredLooseCount = 0;
    /// Changes whenever a fat box changes, and whenever the grid is built: a walk then gathers
    /// its runs again.
    uint64 m_generation = 0;
    /// Counts the grids built: a settled primitive's own list holds until the next.
    uint64 m_build = 0;
};

} // namespace zor
