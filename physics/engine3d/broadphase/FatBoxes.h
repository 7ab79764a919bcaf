#pragma once

#include "common/containers/Array.h"
#include "physics/engine3d/broadphase/PairGrid.h"
#include "physics/engine3d/collision/CollisionSettings.h"

#include <algorithm>
#include <limits>

namespace zor {

/// The fat boxes and fat balls of the broad phase's primitives (docs/engine3d.md, "Fat box",
/// "Ball room", "Stage room"): per primitive a box around where it was filed, and for a sphere
/// the ball its ball must stay in, with the room it has to move there; and which primitives
/// left theirs lately, which gives a restless sphere a wider margin. Two spheres are candidates
/// only when their fat balls overlap: in a pile that leaves out the diagonal neighbours that
/// boxes, whose corners reach out, would take in, half of a sphere's candidates.
class FatBoxes {
public:
    /// Room for `count` primitives; a new count forgets which ones left their fat boxes.
    void resize(uint64 count, bool newCount);
    /// A new collision stage begins.
    void beginStage() { ++m_stage; }

    /// Gives primitive `index` a fat box (and a fat ball for a sphere) around where it stands.
    void fatten(uint64 index, const WidenedBox& box, const WidenedBall& ball);
    /// Primitive `index` has left its fat box or ball in this stage.
    void markLeft(uint64 index) { m_leftAt[index] = m_stage; }
    /// True when primitive `index` has left its fat box or ball in the last stages.
    bool restless(uint64 index) const {
        return m_leftAt[index] != 0 && m_stage - m_leftAt[index] < settings::kRestlessStages;
    }
    /// True when sphere `index` has the wide margin of a restless sphere and has come to rest.
    bool calmed(uint64 index) const { return m_restlessFat[index] && !restless(index); }

    /// The fat box of primitive `index`: its box lies inside until it moves out.
    const WidenedBox& fatBox(uint64 index) const { return m_fat[index]; }
    const WidenedBox* fatBoxes() const { return m_fat.data(); }
    const WidenedBall* fatBalls() const { return m_fatBalls.data(); }
    /// The number of the fattening that made primitive `index`'s fat box: a new fat box gets a
    /// new one, even where it equals the old, so that what was found of a fat box holds while
    /// its number stays. Never 0 once the primitive is fattened.
    uint64 serial(uint64 index) const { return m_serials[index]; }
    /// True when every bound of primitive `index`'s fat box is finite: a byte to read where the
    /// box itself is not needed.
    bool finite(uint64 index) const { return m_finite[index] != 0; }
    /// True when primitive `index` has a fat ball: it was a sphere when it was fattened.
    bool hasBall(uint64 index) const { return m_fatBalls[index].radius >= 0; }

    /// True when primitive `index`, now at `box` (and `ball` for a sphere), still lies where its
    /// pairs were found: in its fat ball if it has one, else in its fat box. A ball with a radius
    /// never lies in a fat box without a ball, and its `box` is not read: a sphere is followed by
    /// its ball alone.
    bool holds(uint64 index, const WidenedBox& box, const WidenedBall& ball) const {
        return hasBall(index) ? ballInside(m_fatBalls[index], ball)
                              : !(ball.radius >= 0) && contains(m_fat[index], box);
    }
    /// BroadPhase::movedWithinRoom: true when sphere `index`'s ball, centred at `ball.centre`,
    /// is within the stage room of its fat ball, and then gives it the room's radius.
    bool movedWithinRoom(uint64 index, WidenedBall& ball) const {
        const StageRoom& room = m_stageRooms[index];
        const double x = ball.centre[0] - room.centre[0], y = ball.centre[1] - room.centre[1],
                     z = ball.centre[2] - room.centre[2];
        if (!(x * x + y * y + z * z <= room.squared))
            return false;
        ball.radius = room.radius;
        return true;
    }
    /// True when sphere `index`'s `ball` is within the ball room of its fat ball: ballInside,
    /// with the room worked out when the fat ball was made.
    bool holdsMovedBall(uint64 index, const WidenedBall& ball) const {
        const BallRoom& room = m_ballRooms[index];
        const WidenedBall& fat = m_fatBalls[index];
        const double x = ball.centre[0] - fat.centre[0], y = ball.centre[1] - fat.centre[1],
                     z = ball.centre[2] - fat.centre[2];
        return ball.radius <= room.largestRadius && x * x + y * y + z * z <= room.squared;
    }
    /// Works out the stage room of primitive `index`, whose ball is now `ball`, for the stage
    /// that begins; none when it is `inactive`.
    void setStageRoom(uint64 index, const WidenedBall& ball, bool active) {
        m_stageRooms[index] = active ? stageRoomOf(index, ball) : kNoStageRoom;
    }

    /// The box around `ball`.
    static WidenedBox boxOf(const WidenedBall& ball) {
        const double* centre = ball.centre;
        const double r = ball.radius;
        return {{centre[0] - r, centre[1] - r, centre[2] - r}, {centre[0] + r, centre[1] + r, centre[2] + r}};
    }

private:
    /// Per fat ball, the largest radius of a ball it holds without reckoning anew (a little more
    /// than the sphere's as it was made: its margin for rounding grows as it moves out), and the
    /// square of the distance that ball's centre may stray (negative for none).
    struct BallRoom {
        double largestRadius;
        double squared;
    };
    /// Per sphere, for the stage: the radius its ball takes as it moves within the room of its
    /// fat ball, and that room's square (negative when every move places the ball).
    struct StageRoom {
        double radius;
        double squared;
        /// The fat ball's centre: a sphere's move within its room reads this record alone.
        double centre[3];
    };
    static constexpr StageRoom kNoStageRoom{-1, -1, {0, 0, 0}};
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
    /// The stage room of primitive `index`, whose ball is now `ball`.
    StageRoom stageRoomOf(uint64 index, const WidenedBall& ball) const;

    Array<WidenedBox> m_fat;
    Array<WidenedBall> m_fatBalls;
    Array<BallRoom> m_ballRooms;
    Array<StageRoom> m_stageRooms;
    /// Per primitive, the stage it last left its fat box or ball at (0: never), and whether its
    /// fat ball has the wide margin of a restless sphere.
    Array<uint64> m_leftAt;
    Array<uint8> m_restlessFat;
    Array<uint64> m_serials;
    Array<uint8> m_finite;
    /// Counts the fattenings, for the serials.
    uint64 m_fattenings = 0;
    /// Counts the stages.
    uint64 m_stage = 0;
};

} // namespace zor
