// Where the host places the contacts it records: midway through the overlap, at the part of a
// sphere or capsule that meets the other shape.

#include "host/simulate/ContactPoint.h"

#include <gtest/gtest.h>

namespace zor::host {
namespace {

TEST(ContactPointTest, LiesMidwayThroughTheOverlapAtThePartThatMeetsTheOtherShape) {
    const RoundShape ball{{0, 0, 0}, {0, 0, 0}, 1};
    const RoundShape otherBall{{1.8, 0, 0}, {1.8, 0, 0}, 1};
    const RoundShape crossing{{0.5, 0.9, -1}, {0.5, 0.9, 1}, 0.5};
    const struct {
        const char* what;
        RoundShape round;
        Point3 normal;
        double depth;
        const RoundShape* other;
        Point3 otherCentre;
        Point3 expected;
    } cases[] = {
        {"two spheres", ball, {1, 0, 0}, 0.2, &otherBall, {1.8, 0, 0}, {0.9, 0, 0}},
        {"a capsule standing on a floor touches with its lower end",
         {{0, 0.4, 0}, {0, 1.4, 0}, 0.5},
         {0, -1, 0},
         0.1,
         nullptr,
         {3, 0, 3},
         {0, -0.05, 0}},
        {"a capsule lying on a floor touches below the face's centre",
         {{0, 0.45, 0}, {4, 0.45, 0}, 0.5},
         {0, -1, 0},
         0.1,
         nullptr,
         {1.5, 0, -0.5},
         {1.5, 0, 0}},
        {"crossing capsules touch where their axes pass closest",
         {{-1, 0, 0}, {1, 0, 0}, 0.5},
         {0, 1, 0},
         0.1,
         &crossing,
         {},
         {0.5, 0.45, 0}},
    };
    for (const auto& c : cases) {
        const Point3 point = contactPoint(c.round, c.normal, c.depth, c.other, c.otherCentre);
        for (int axis = 0; axis < 3; ++axis)
            EXPECT_NEAR(point[axis], c.expected[axis], 1e-12) << c.what << ", axis " << axis;
    }
}

} // namespace
} // namespace zor::host
