#include "physics/engine3d/broadphase/FatBoxes.h"

#include <algorithm>
#include <cmath>

namespace zor {
namespace {

using namespace settings;

constexpr WidenedBall kNoBall{{0, 0, 0}, -1};

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

} // namespace

void FatBoxes::resize(uint64 count, bool newCount) {
    if (newCount) {
        // New primitives have left no fat box yet.
        m_leftAt.resize(count);
        std::fill(m_leftAt.begin(), m_leftAt.end(), uint64(0));
        m_restlessFat.resize(count);
    }
    m_fat.resize(count);
    m_fatBalls.resize(count);
    m_ballRooms.resize(count);
    m_stageRooms.resize(count);
    m_serials.resize(count);
    m_finite.resize(count);
}

void FatBoxes::fatten(uint64 index, const WidenedBox& box, const WidenedBall& ball) {
    WidenedBall& fatBall = m_fatBalls[index];
    m_serials[index] = ++m_fattenings;
    m_restlessFat[index] = false;
    if (!(ball.radius >= 0)) {
        fatBall = kNoBall;
        m_ballRooms[index] = {-1, -1};
        m_stageRooms[index] = kNoStageRoom;
        m_fat[index] = fattened(box);
        m_finite[index] = isFinite(m_fat[index]);
        return;
    }
    m_restlessFat[index] = restless(index);
    const double margin = m_restlessFat[index] ? kRestlessBallMargin : kFatBallMargin;
    fatBall = {{ball.centre[0], ball.centre[1], ball.centre[2]}, ball.radius * (1 + 2 * margin)};
    m_fat[index] = boxOf(fatBall);
    m_finite[index] = isFinite(m_fat[index]);
    // A sphere's margin for rounding grows by a millionth of a millionth of how far it moves,
    // which inside its fat ball is at most the fat radius; and a float sphere's radius, worked
    // out again each stage from its world matrix, may come out a few units in the last place
    // larger while it keeps its fat ball.
    const double largest = ball.radius * (1 + kBallRadiusAllowance) + fatBall.radius * kBallMoveAllowance;
    const double slack = fatBall.radius - largest;
    m_ballRooms[index] = {largest, slack >= 0 ? roomSquared(slack) : -1};
    m_stageRooms[index] = stageRoomOf(index, ball);
}

FatBoxes::StageRoom FatBoxes::stageRoomOf(uint64 index, const WidenedBall& ball) const {
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
        return kNoStageRoom;
    return {bound, room.squared, {fat.centre[0], fat.centre[1], fat.centre[2]}};
}

} // namespace zor
