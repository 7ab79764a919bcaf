#pragma once

#include "common/containers/Array.h"
#include "physics/engine3d/broadphase/PairGrid.h"
#include "physics/engine3d/collision/CollisionSettings.h"

#include <algorithm>
#include <limits>

namespace zor {

/// The broad phase of the collision stage: for a primitive, the primitives after it that may
/// touch it, in increasing order, wherever the responses of the passes have moved them.
///
/// Each primitive has a fat box, its box widened by a margin, so that the small pushes of a
/// pass and the moves of a step seldom take it out; the pairs of the fat boxes are found by a
/// PairGrid, kept by the engine from one collision stage to the next while they serve. A
/// primitive that leaves its fat box gets a new one around where it stands and becomes loose.
/// Loose primitives are filed again in cells of their own (grid cells grouped to about the grid's
/// reach; a bucket per cell over the grid's dense block, with a mask per row of the cells that
/// hold any; hashed outside it; changed in place as they move), where every walk looks for them;
/// a loose primitive's own candidates are gathered from the grid around its new box. When too
/// many are loose the grid is built again. A box always lies in its fat box, so the candidates
/// always include every primitive whose box overlaps.
///
/// A sphere's fat box is the box around a fat ball, its ball widened by a margin, and it stays
/// settled only while its ball lies in the fat ball: two spheres are candidates only when their
/// fat balls overlap. In a pile that leaves out the diagonal neighbours that boxes, whose corners
/// reach out, would take in: half of a sphere's candidates.
class BroadPhase {
public:
    /// Sizes everything for `count` primitives and finds the pairs of the active ones' boxes
    /// (and balls, for spheres: a non-negative radius in `balls`). With as many primitives as
    /// last time the grid is kept unless too many have left their fat boxes or balls: one still
    /// inside keeps its pairs whatever primitive it is now (the pairs of fat boxes hold those of
    /// the boxes inside them), the others become loose.
    void build(const WidenedBox* boxes, const WidenedBall* balls, const uint8* active, uint64 count);
    /// The fat box of primitive `index`: its box lies inside until it moves out.
    const WidenedBox& fatBox(uint64 index) const { return m_fat[index]; }
    /// Primitive `index`, not a sphere, has moved to `box`; the move of one inactive when the
    /// stage began is ignored.
    void moved(uint64 index, const WidenedBox& box) {
        if (m_fatBalls[index].radius >= 0 || !contains(m_fat[index], box))
            movedOut(index, box, kNoBall);
    }
    /// Sphere `index`, its ball now centred at `ball.centre`, has moved. While the centre stays
    /// within the room of its fat ball, the ball takes the radius worked out for the stage, a
    /// bound on its own there: balls only ever tell what may touch, so a larger one changes no
    /// outcome, and the radius need not be worked out at every push. False when the ball must
    /// be placed and passed to movedSphere instead.
    bool movedWithinRoom(uint64 index, WidenedBall& ball) const {
        const StageRoom& room = m_stageRooms[index];
        const WidenedBall& fat = m_fatBalls[index];
        const double x = ball.centre[0] - fat.centre[0], y = ball.centre[1] - fat.centre[1],
                     z = ball.centre[2] - fat.centre[2];
        if (!(x * x + y * y + z * z <= room.squared))
            return false;
        ball.radius = room.radius;
        return true;
    }
    /// Sphere `index` has moved to `ball`, as moved.
    void movedSphere(uint64 index, const WidenedBall& ball) {
        // ballInside, with the room worked out when the fat ball was made.
        const BallRoom& room = m_ballRooms[index];
        const WidenedBall& fat = m_fatBalls[index];
        const double x = ball.centre[0] - fat.centre[0], y = ball.centre[1] - fat.centre[1],
                     z = ball.centre[2] - fat.centre[2];
        if (!(ball.radius <= room.largestRadius && x * x + y * y + z * z <= room.squared))
            movedOut(index, boxOf(ball), ball);
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
        uint64 build;
        /// Every primitive is a candidate (a large or non-finite box).
        bool everyPrimitive;
        const uint32* listed;
        const uint32* listedEnd;
        const uint32* loose;
        const uint32* looseEnd;
    };

    static constexpr WidenedBall kNoBall{{0, 0, 0}, -1};
    /// True when `ball` lies in `fat` (a fat ball), with room for rounding to spare; false for
    /// balls with a NaN and when either radius is negative (no ball).
    static bool ballInside(const WidenedBall& fat, const WidenedBall& ball) {
        const double x = ball.centre[0] - fat.centre[0], y = ball.centre[1] - fat.centre[1],
                     z = ball.centre[2] - fat.centre[2];
        const double slack = fat.radius - ball.radius;
        return ball.radius >= 0 && fat.radius >= 0 && slack >= 0 &&
               x * x + y * y + z * z <= roomSquared(slack);
    }
    /// The square of how far a ball may stray with `slack` to spare, less a margin for rounding.
    /// Held below infinity: a distance whose square overflows never lies within it.
    static double roomSquared(double slack) {
        return std::min(slack * slack, std::numeric_limits<double>::max()) * (1 - settings::kRoomAllowance);
    }
    static WidenedBox boxOf(const WidenedBall& ball) {
        const double* centre = ball.centre;
        const double r = ball.radius;
        return {{centre[0] - r, centre[1] - r, centre[2] - r}, {centre[0] + r, centre[1] + r, centre[2] + r}};
    }
    /// True when primitive `index`, now at `box` (and `ball` for a sphere), still lies where its
    /// pairs were found: in its fat ball if it has one, else in its fat box.
    bool holds(uint64 index, const WidenedBox& box, const WidenedBall& ball) const {
        return m_fatBalls[index].radius >= 0 ? ballInside(m_fatBalls[index], ball)
                                             : contains(m_fat[index], box);
    }
    /// Gives primitive `index` a fat box (and a fat ball for a sphere) around where it stands.
    void fatten(uint64 index, const WidenedBox& box, const WidenedBall& ball);
    /// True when primitive `index` has left its fat box or ball in the last stages.
    bool restless(uint64 index) const;
    /// Primitive `index` has left its fat box or ball for `box` (and `ball`).
    void movedOut(uint64 index, const WidenedBox& box, const WidenedBall& ball);
    void startWalk(uint64 index, uint64 after);
    /// Points the walk's settled run at the filed primitives after `index` whose fat boxes overlap
    /// its own, gathered from the grid or kept from an earlier gather.
    void gatherFromGrid(uint64 index);
    /// Keeps the grid for new boxes of the same primitives, or of others as many; false when
    /// too many would be loose.
    bool keep(const WidenedBox* boxes, const WidenedBall* balls, const uint8* active);
    /// build without the grid kept: everything sized for `count` primitives, every one fattened.
    void buildAnew(const WidenedBox* boxes, const WidenedBall* balls, const uint8* active, uint64 count);
    void rebuild();
    /// Files loose primitive `index` by its fat box, or takes it out of its cell.
    void fileLoose(uint64 index);
    void unfileLoose(uint64 index);
    /// The loose primitives after `after` whose fat boxes overlap primitive `index`'s, in
    /// increasing order.
    void gatherLoose(uint64 index, uint64 after);
    /// The key of the loose cell that holds grid cell `gridKey`; kLarge for kLarge.
    uint64 looseKeyOf(uint64 gridKey) const;
    /// The head of the loose cell of `key`: a bucket per cell of a dense grid's block, hashed
    /// buckets after them for the cells outside it.
    uint32& looseHead(uint64 key);
    /// The row and the place in it of `key`'s cell in the dense block; false outside it.
    bool denseCell(uint64 key, uint64& row, int64& x) const;
    /// Counts a loose primitive filed in (`change` 1) or taken out of (-1) `key`'s cell: the
    /// mask of its row in the dense block tells whether the cell holds any, or the count of
    /// those outside the block.
    void markLooseCell(uint64 key, int64 change);
    /// The cells that may hold loose low corners overlapping primitive `index`'s fat box, worked
    /// out once per fat box and grid.
    struct CellRange {
        uint64 build;
        int32 low[3];
        int32 high[3];
        /// Too many cells to visit: every loose primitive is looked at.
        bool everyCell;
    };
    const CellRange& cellRangeOf(uint64 index) {
        const CellRange& range = m_cellRanges[index];
        return range.build == m_build ? range : workOutCellRange(index);
    }
    /// cellRangeOf for a new fat box or grid.
    const CellRange& workOutCellRange(uint64 index);

    PairGrid m_grid;
    uint64 m_count = 0;
    Array<WidenedBox> m_fat;
    Array<WidenedBall> m_fatBalls;
    /// Per fat ball, the largest radius of a ball it holds without reckoning anew (a little more
    /// than the sphere's as it was made: its margin for rounding grows as it moves out), and the
    /// square of the distance that ball's centre may stray (negative for none).
    struct BallRoom {
        double largestRadius;
        double squared;
    };
    Array<BallRoom> m_ballRooms;
    /// Per sphere, for the stage: the radius its ball takes as it moves within the room of its
    /// fat ball, and that room's square (negative when every move places the ball).
    struct StageRoom {
        double radius;
        double squared;
    };
    Array<StageRoom> m_stageRooms;
    /// The stage room of primitive `index`, whose ball is now `ball`.
    StageRoom stageRoomOf(uint64 index, const WidenedBall& ball) const;
    /// Per primitive, the stage it last left its fat box or ball at (0: never), and whether its
    /// fat ball has the wide margin of a restless sphere.
    Array<uint64> m_leftAt;
    Array<uint8> m_restlessFat;
    /// Counts the stages: the builds.
    uint64 m_stage = 0;
    /// The primitives that left their fat boxes or balls in the passes of this stage and of the
    /// last one.
    uint64 m_leftThisStage = 0;
    uint64 m_leftLastStage = 0;
    Array<uint8> m_active;
    /// Where each primitive stands: in the grid with the fat box it was built with (settled),
    /// in the loose cells, or in neither (absent: inactive when the grid was built).
    enum Standing : uint8 { kAbsent, kSettled, kLoose };
    Array<uint8> m_standing;
    uint64 m_looseCount = 0;
    /// A loose primitive filed in a cell, with a copy of its fat box and its cell's key: the walks
    /// that look through a cell read a short run of entries instead of chasing the primitives'
    /// own arrays, and turn most of them down.
    struct LooseEntry {
        WidenedBox fat;
        uint64 key;
        uint32 index;
        uint32 next;
    };
    /// The loose cells: per bucket its first entry, the entries (as many as loose primitives may
    /// be; the free ones chained from m_looseFree), per primitive its entry and its cell key
    /// (loose primitives too far out for a key are in m_looseUnfiled).
    Array<uint32> m_looseHeads;
    Array<LooseEntry> m_looseEntries;
    uint32 m_looseFree = ~uint32(0);
    uint32 m_looseEntriesUsed = 0;
    Array<uint32> m_looseSlots;
    Array<uint64> m_looseKeys;
    Array<uint32> m_looseUnfiled;
    uint32 m_looseBucketBits = 0;
    /// Grid cells per loose cell on each axis, as a power of two.
    int m_looseShift = 0;
    /// The dense grid's block in loose cells, as they were laid out for it (all 0 when hashed).
    int64 m_looseExtent[3] = {};
    uint64 m_looseDenseCells = 0;
    /// Per row of the dense block (when no wider than 64 cells), the cells that hold any.
    bool m_looseRowsMasked = false;
    Array<uint64> m_looseRowMasks;
    uint64 m_looseOutside = 0;
    Array<CellRange> m_cellRanges;
    Array<uint32> m_gathered;
    /// Grid gathers kept while the grid and the primitive's fat box stay: per primitive the build
    /// it was gathered in (0: none) and where it lies in the pool.
    Array<uint32> m_gatherPool;
    uint64 m_gatherPoolUsed = 0;
    Array<uint64> m_gatherCached;
    Array<uint32> m_gatherStart;
    Array<uint32> m_gatherEnd;
    /// Room for every primitive; the first m_gatheredLooseCount are the walk's loose ones.
    Array<uint32> m_gatheredLoose;
    uint64 m_gatheredLooseCount = 0;
    /// Changes whenever a fat box changes, and whenever the grid is built.
    uint64 m_generation = 0;
    uint64 m_build = 0;
    Walk m_walk{};
};

} // namespace zor
