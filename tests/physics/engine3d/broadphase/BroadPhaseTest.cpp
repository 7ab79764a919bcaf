// The broad phase's candidates against every pair, whatever happens to the boxes between
// stages and during the walks.

#include "physics/engine3d/broadphase/BroadPhase.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace zor {
namespace {

WidenedBox boxAt(double x, double y, double z, double width) {
    return {{x, y, z}, {x + width, y + width, z + width}};
}

// The candidates of primitive `i`, every one accepted.
std::vector<uint64> candidatesOf(BroadPhase& broadPhase, uint64 i) {
    std::vector<uint64> candidates;
    broadPhase.forEachCandidate(
        i, [](uint64) { return true; }, [&](uint64 j) { candidates.push_back(j); });
    return candidates;
}

// Expects the candidates of each active primitive in increasing order, holding every later
// active primitive j that `touch(i, j)`.
template <typename Touch>
void expectEveryOverlapFound(BroadPhase& broadPhase, const std::vector<uint8>& active, Touch touch) {
    for (uint64 i = 0; i < active.size(); ++i) {
        if (!active[i])
            continue;
        const std::vector<uint64> candidates = candidatesOf(broadPhase, i);
        ASSERT_TRUE(std::is_sorted(candidates.begin(), candidates.end()));
        for (uint64 j = i + 1; j < active.size(); ++j) {
            if (active[j] && touch(i, j)) {
                ASSERT_TRUE(std::binary_search(candidates.begin(), candidates.end(), j))
                    << j << " missing from the candidates of " << i;
            }
        }
    }
}

WidenedBox boxOf(const WidenedBall& ball) {
    const double* c = ball.centre;
    const double r = ball.radius;
    return {{c[0] - r, c[1] - r, c[2] - r}, {c[0] + r, c[1] + r, c[2] + r}};
}

// Whatever happens to the boxes from one stage to the next (small drifts, jumps across the room,
// bodies that stop colliding and start again, enough change to build the grid again, spheres that
// become other shapes and back or grow in a fat ball made for a smaller one) and during the walks
// (the candidates pushed, some out of their fat boxes or balls, a sphere's ball taking its room's
// radius while it stays within), each primitive's candidates are increasing and hold every later active
// primitive whose box overlaps (whose ball, for two spheres): in a room, along a corridor more
// cells long than a row's mask of loose cells holds, and among boxes with NaN, infinite and
// far-out coordinates.
TEST(BroadPhase, KeptBetweenStagesMissesNoOverlap) {
    struct Layout {
        uint64 count;
        double length;
        double width;
        /// How far the boxes drift across the length.
        double sideways;
        /// Some coordinates are NaN, infinite or far out.
        bool odd;
    };
    for (const Layout layout :
         {Layout{40, 8, 8, 1, false}, Layout{120, 200, 0.5, 0, false}, Layout{120, 6, 6, 1, true}}) {
        std::mt19937 random(7);
        std::uniform_real_distribution<double> unit(0, 1);
        const auto coordinate = [&](double value) {
            const double odd = layout.odd ? unit(random) : 1;
            return odd < 0.01 ? std::nan("") : odd < 0.02 ? INFINITY : odd < 0.03 ? -1e15 : value;
        };
        std::vector<WidenedBox> boxes(layout.count);
        // Every other primitive is a sphere: its ball, and its box around the ball.
        std::vector<WidenedBall> balls(layout.count, WidenedBall{{0, 0, 0}, -1});
        std::vector<uint8> active(layout.count, 1);
        const auto placeBall = [&](uint64 i) {
            const double radius = balls[i].radius;
            for (int axis = 0; axis < 3; ++axis) {
                balls[i].centre[axis] = boxes[i].low[axis] + radius;
                boxes[i].high[axis] = (boxes[i].low[axis] = balls[i].centre[axis] - radius) + 2 * radius;
            }
        };
        for (uint64 i = 0; i < layout.count; ++i) {
            for (int axis = 0; axis < 3; ++axis)
                boxes[i].high[axis] = (boxes[i].low[axis] = coordinate(
                                           (axis == 0 ? layout.length : layout.width) * unit(random))) +
                                      1;
            if (i % 2 == 1) {
                balls[i].radius = 0.5;
                placeBall(i);
            }
        }
        const auto push = [&](uint64 i, double step) {
            for (int axis = 0; axis < 3; ++axis) {
                const double by = step * (unit(random) - 0.5) * (axis == 0 ? 1 : layout.sideways);
                boxes[i].low[axis] += by;
                boxes[i].high[axis] += by;
            }
            if (balls[i].radius >= 0)
                placeBall(i);
        };
        const auto moved = [&](BroadPhase& broadPhase, uint64 k) {
            if (balls[k].radius < 0)
                return broadPhase.moved(k, boxes[k]);
            WidenedBall within = balls[k];
            if (broadPhase.movedWithinRoom(k, within))
                EXPECT_GE(within.radius, balls[k].radius);
            else
                broadPhase.movedSphere(k, balls[k]);
        };
        // Two spheres touch when their balls do (at a distance that is a number).
        const auto touch = [&](uint64 i, uint64 j) {
            if (balls[i].radius < 0 || balls[j].radius < 0)
                return overlaps(boxes[i], boxes[j]);
            const double x = balls[i].centre[0] - balls[j].centre[0],
                         y = balls[i].centre[1] - balls[j].centre[1],
                         z = balls[i].centre[2] - balls[j].centre[2];
            const double reach = balls[i].radius + balls[j].radius;
            return x * x + y * y + z * z <= reach * reach;
        };
        BroadPhase broadPhase;
        for (int stage = 0; stage < 60; ++stage) {
            const double jumps = stage % 10 == 9 ? 0.9 : 0.05;
            for (uint64 i = 0; i < layout.count; ++i) {
                push(i, unit(random) < jumps ? 6 : 0.2);
                if (unit(random) < 0.1)
                    active[i] = !active[i];
                if (stage % 7 == 3 && i % 5 == 0) {
                    balls[i].radius = balls[i].radius < 0 ? 0.5 : -1;
                    if (balls[i].radius >= 0)
                        placeBall(i);
                } else if (stage % 4 == 1 && i % 3 == 0 && balls[i].radius >= 0) {
                    balls[i].radius = balls[i].radius == 0.5 ? 0.6 : 0.5;
                    placeBall(i);
                }
            }
            broadPhase.build(boxes.data(), balls.data(), active.data(), layout.count);
            for (uint64 i = 0; i < layout.count; ++i) {
                if (!active[i])
                    continue;
                // Candidates turned down are passed over without a visit, the others may move.
                std::vector<uint64> pushed;
                const auto sometimes = [&](uint64) { return unit(random) < 0.7; };
                broadPhase.forEachCandidate(i, sometimes, [&](uint64 j) {
                    pushed.push_back(j);
                    for (const uint64 k : {i, j})
                        if (unit(random) < 0.3) {
                            push(k, unit(random) < 0.3 ? 8 : 0.1);
                            moved(broadPhase, k);
                        }
                });
                ASSERT_TRUE(std::is_sorted(pushed.begin(), pushed.end()));
            }
            expectEveryOverlapFound(broadPhase, active, touch);
            ASSERT_FALSE(HasFailure()) << layout.length << " long, stage " << stage;
        }
    }
}

// A crowd in which every visit throws another primitive elsewhere: more leave their fat boxes in a
// stage than may stay loose, so the grid is built again in the middle of walks. Each walk must
// still visit, in increasing order, every later primitive that overlaps the walking one at its
// end, but for those thrown after the walk had passed them.
TEST(BroadPhase, AGridBuiltAgainInTheMiddleOfAWalkMissesNoCandidate) {
    constexpr uint64 count = 400;
    std::mt19937 random(5);
    std::uniform_real_distribution<double> place(0, 4);
    std::vector<WidenedBox> boxes(count);
    const std::vector<WidenedBall> balls(count, WidenedBall{{0, 0, 0}, -1});
    const std::vector<uint8> active(count, 1);
    const auto throwAnywhere = [&](uint64 i) {
        boxes[i] = boxAt(place(random), place(random), place(random), 1);
    };
    for (uint64 i = 0; i < count; ++i)
        throwAnywhere(i);
    BroadPhase broadPhase;
    for (int stage = 0; stage < 3; ++stage) {
        broadPhase.build(boxes.data(), balls.data(), active.data(), count);
        for (uint64 i = 0; i < count; ++i) {
            std::vector<uint64> visited;
            // Per primitive, the candidate visited when it was last thrown.
            std::vector<uint64> thrownAt(count, 0);
            broadPhase.forEachCandidate(
                i, [](uint64) { return true; },
                [&](uint64 j) {
                    visited.push_back(j);
                    const uint64 k = (j * 7 + i) % count;
                    if (k != i) {
                        throwAnywhere(k);
                        broadPhase.moved(k, boxes[k]);
                        thrownAt[k] = j;
                    }
                });
            ASSERT_TRUE(std::is_sorted(visited.begin(), visited.end())) << "stage " << stage << ", " << i;
            for (uint64 j = i + 1; j < count; ++j) {
                if (overlaps(boxes[i], boxes[j]) && thrownAt[j] < j) {
                    ASSERT_TRUE(std::binary_search(visited.begin(), visited.end(), j))
                        << "stage " << stage << ": " << j << " missing from the walk of " << i;
                }
            }
        }
    }
}

// A sphere that leaves its fat ball finds the sphere it now reaches: one grown inside a fat ball
// made for a smaller one (it has no room there) pushed towards a small sphere just beyond the fat
// ball; spheres so large that the square of a distance between them overflows, one pushed or
// placed in the next stage farther than the room of its fat ball, whose square is no number either;
// a primitive of another shape that becomes a sphere and moves away, whose box is no longer read.
TEST(BroadPhase, ASphereThatLeavesItsFatBallFindsWhatItNowReaches) {
    struct Case {
        const char* name;
        WidenedBall first, second;
        /// The first sphere's radius in the second stage, and where its centre moves then.
        double grownRadius, movedTo;
        bool pushed;
        /// The first is of another shape at first, and its box stays as it was.
        bool fromBox = false;
    };
    const Case cases[] = {
        {"grown, then pushed", {{0, 0, 0}, 0.5}, {{0.709, 0, 0}, 0.01}, 0.6, 0.1, true},
        {"huge, pushed", {{0, 0, 0}, 1e160}, {{1e162, 0, 0}, 1e160}, 1e160, 1e162, true},
        {"huge, in the next stage", {{0, 0, 0}, 1e160}, {{1e162, 0, 0}, 1e160}, 1e160, 1e162, false},
        {"a box become a sphere", {{0, 0, 0}, 0.5}, {{3, 0, 0}, 0.5}, 0.5, 3, false, true},
    };
    const uint8 active[2] = {1, 1};
    for (const Case& c : cases) {
        WidenedBall balls[2] = {c.first, c.second};
        WidenedBox boxes[2] = {boxOf(balls[0]), boxOf(balls[1])};
        if (c.fromBox)
            balls[0].radius = -1;
        BroadPhase broadPhase;
        broadPhase.build(boxes, balls, active, 2);
        ASSERT_EQ(candidatesOf(broadPhase, 0), std::vector<uint64>{}) << c.name << ": apart at first";
        balls[0].radius = c.grownRadius;
        if (!c.fromBox)
            boxes[0] = boxOf(balls[0]);
        broadPhase.build(boxes, balls, active, 2);
        balls[0].centre[0] = c.movedTo;
        if (!c.fromBox)
            boxes[0] = boxOf(balls[0]);
        WidenedBall within = balls[0];
        if (!c.pushed)
            broadPhase.build(boxes, balls, active, 2);
        else if (!broadPhase.movedWithinRoom(0, within))
            broadPhase.movedSphere(0, balls[0]);
        EXPECT_EQ(candidatesOf(broadPhase, 0), std::vector<uint64>{1}) << c.name;
    }
}

// A primitive that leaves its fat box is filed again by its new fat box's low corner only when
// the grid's cells reach that far below the boxes that may overlap it; wider, it must be found
// all the same. Each moved primitive's fat box touches a settled one's from below or above, on
// each axis in turn, as wide as the settled ones' (the widest filed by its low corner), narrower
// and much wider.
TEST(BroadPhase, LoosePrimitivesAreFoundWhateverTheirWidth) {
    for (const double width : {1.0, 0.5, 1.5, 3.0})
        for (const double offset : {0.0, 0.1}) {
            std::vector<WidenedBox> boxes;
            for (int x = 0; x < 5; ++x)
                for (int y = 0; y < 5; ++y)
                    for (int z = 0; z < 5; ++z)
                        boxes.push_back(boxAt(offset + 2 * x, offset + 2 * y, offset + 2 * z, 1));
            const std::vector<WidenedBall> balls(boxes.size(), WidenedBall{{0, 0, 0}, -1});
            const std::vector<uint8> active(boxes.size(), 1);
            BroadPhase broadPhase;
            broadPhase.build(boxes.data(), balls.data(), active.data(), boxes.size());
            // A box of width w has a fat box 1.5 w wide, a quarter of w out on each side.
            for (uint64 k = 0; k < boxes.size(); k += 7) {
                const uint64 next = (k * 31 + 17) % boxes.size();
                const WidenedBox& settled = broadPhase.fatBox(next);
                const int axis = int(k / 7 % 3);
                const bool below = k % 2 == 0;
                WidenedBox box = boxAt(settled.low[0], settled.low[1], settled.low[2], width);
                const double fatWidth = 1.5 * width;
                box.low[axis] = (below ? settled.low[axis] - fatWidth : settled.high[axis]) + 0.25 * width;
                box.high[axis] = box.low[axis] + width;
                broadPhase.moved(k, box);
            }
            expectEveryOverlapFound(broadPhase, active, [&](uint64 i, uint64 j) {
                return overlaps(broadPhase.fatBox(i), broadPhase.fatBox(j));
            });
            ASSERT_FALSE(HasFailure()) << "width " << width << ", offset " << offset;
        }
}

} // namespace
} // namespace zor
