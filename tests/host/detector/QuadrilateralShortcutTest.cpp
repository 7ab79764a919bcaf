#include "host/detector/CollisionGeometry.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <random>
#include <sstream>

namespace zor::collision {
namespace {

// capsuleQuadrilateral takes a shortcut for spheres against rectangles across an axis; it must
// answer as the general face test does, to the bit, for every input. These tests throw grid-like
// faces in every corner order and facing at it, with centres, radii and coordinates chosen to sit
// on the shortcut's boundaries: zeros of either sign, edges hit exactly, heights near zero, the
// touching distance and the radius, sizes near the moderate limits, subnormals, infinities, NaN.

using detail::sameBits;

template <typename T>
class Cases {
public:
    using V = Vector3<T>;

    explicit Cases(uint64 seed) : m_random(seed) {}

    /// `x` in T, beyond its range infinite rather than undefined.
    static T make(double x) {
        constexpr double most = std::numeric_limits<T>::max();
        return x > most    ? std::numeric_limits<T>::infinity()
               : x < -most ? -std::numeric_limits<T>::infinity()
                           : T(x);
    }

    /// A coordinate: mostly ordinary or on a grid, sometimes at any scale, sometimes special.
    T coordinate() {
        const int kind = pick(20);
        if (kind < 9)
            return make(uniform(-4, 4));
        if (kind < 13)
            return make(std::ldexp(double(pick(33) - 16), -2)); // grid lines a quarter apart
        if (kind < 17)
            return make(std::ldexp(uniform(-1, 1), pick(161) - 80));
        return special();
    }

    T special() {
        const T inf = std::numeric_limits<T>::infinity();
        // clang-format off
        static const T values[] = {
            T(0), T(-0.0), std::numeric_limits<T>::denorm_min(), -std::numeric_limits<T>::min(), make(1e-300),
            make(-1e-30), make(0x1p-400), make(std::nextafter(0x1p-400, 0.0)), make(1e-12),
            make(std::nextafter(1e-12, 1.0)), make(std::nextafter(1e-12, 0.0)), make(0x1p396),
            make(std::nextafter(0x1p396, 0.0)), make(-0x1p396), make(0x1p399), make(-0x1p400), make(1e300),
            make(0x1p-511), make(0x1p-538), make(0x1p511), make(0x1p512), std::numeric_limits<T>::max(), inf, -inf,
            std::numeric_limits<T>::quiet_NaN()};
        // clang-format on
        return values[pick(std::size(values))];
    }

    T radius() {
        const int kind = pick(16);
        if (kind < 12)
            return make(uniform(0.05, 1.5));
        using Limits = std::numeric_limits<T>;
        static const T values[] = {
            T(0), T(-0.0), T(-0.5), T(1e-13), T(2), Limits::infinity(), Limits::quiet_NaN()};
        return kind < 14 ? values[pick(std::size(values))] : special();
    }

    /// A rectangle across a random axis: four corners in any of the eight orders that walk its
    /// border, so both facings, sometimes spoilt into a face that is not one.
    std::array<V, 4> face(int& axis, T& level, std::array<T, 2>& us, std::array<T, 2>& ws, bool& upwards) {
        axis = pick(3);
        level = pick(4) == 0 ? coordinate() : T(std::ldexp(double(pick(9) - 4), -1));
        us = {coordinate(), coordinate()};
        ws = {coordinate(), coordinate()};
        if (pick(3) != 0) {
            // Mostly an ordinary cell.
            us = {T(std::ldexp(double(pick(9) - 4), -1)), T(0)};
            us[1] = us[0] + T(pick(2) == 0 ? 0.5 : 1);
            ws = {T(std::ldexp(double(pick(9) - 4), -1)), T(0)};
            ws[1] = ws[0] + T(pick(2) == 0 ? -0.5 : 1);
        }
        const T walk[4][2] = {{us[0], ws[0]}, {us[1], ws[0]}, {us[1], ws[1]}, {us[0], ws[1]}};
        const int start = pick(4), step = pick(2) == 0 ? 1 : 3;
        upwards = ((us[1] > us[0]) == (ws[1] > ws[0])) == (step == 1);
        std::array<V, 4> corners;
        for (int i = 0; i < 4; ++i) {
            const T* uw = walk[(start + step * i) % 4];
            corners[i] = place(axis, level, uw[0], uw[1]);
        }
        switch (pick(12)) {
        case 0: // one coordinate a hair off: not a rectangle, or not across the axis
            coordinateOf(corners[pick(4)], pick(3)) =
                std::nextafter(coordinateOf(corners[0], axis), pick(2) == 0 ? T(1) : T(-1));
            break;
        case 1: // two corners swapped: the border crosses itself
            std::swap(corners[0], corners[1 + pick(3)]);
            break;
        case 2: // a zero of the other sign on the shared coordinate
            if (level == 0)
                coordinateOf(corners[pick(4)], axis) = -coordinateOf(corners[0], axis);
            break;
        case 3: // a special coordinate anywhere
            coordinateOf(corners[pick(4)], pick(3)) = special();
            break;
        default:
            break;
        }
        return corners;
    }

    /// A centre near the face: over it, beside it or on its edges, at heights about the radius,
    /// above or below it along the axis.
    V centre(int axis, T level, const std::array<T, 2>& us, const std::array<T, 2>& ws, T radius,
             bool above) {
        const auto near = [&](const std::array<T, 2>& ends) -> T {
            switch (pick(16)) {
            case 0:
            case 1:
                return ends[pick(2)];
            case 2:
                return std::nextafter(ends[pick(2)], pick(2) == 0 ? T(10) : T(-10));
            case 3:
                return pick(2) == 0 ? T(0) : T(-0.0);
            case 4:
                return coordinate();
            default:
                return make(double(ends[0]) + (double(ends[1]) - double(ends[0])) * uniform(-0.1, 1.1));
            }
        };
        T height;
        switch (pick(10)) {
        case 0:
            height = special();
            break;
        case 1:
            height = pick(2) == 0 ? radius : std::nextafter(radius, T(0));
            break;
        case 2:
            height = -make(uniform(0, 1));
            break;
        default:
            height = make(uniform(0, 1.2) * double(std::isfinite(radius) ? radius : T(1)));
            break;
        }
        const T across = level + (above ? height : -height);
        return place(axis, pick(16) == 0 ? special() : across, near(us), near(ws));
    }

    int pick(std::size_t count) {
        return int(std::uniform_int_distribution<std::size_t>(0, count - 1)(m_random));
    }

private:
    static V place(int axis, T across, T u, T w) {
        V v;
        coordinateOf(v, axis) = across;
        coordinateOf(v, (axis + 1) % 3) = u;
        coordinateOf(v, (axis + 2) % 3) = w;
        return v;
    }

    static T& coordinateOf(V& v, int axis) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; }

    double uniform(double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(m_random);
    }

    std::mt19937_64 m_random;
};

template <typename T>
class QuadrilateralShortcut : public testing::Test {};
using NumberTypes = testing::Types<double, float>;
TYPED_TEST_SUITE(QuadrilateralShortcut, NumberTypes);

TYPED_TEST(QuadrilateralShortcut, AnswersAsTheFaceTestToTheBit) {
    using T = TypeParam;
    using V = Vector3<T>;
    const T unset = T(7);
    Cases<T> cases(sizeof(T) * 20261207);
    int contacts = 0;
    constexpr int kCount = 300000;
    int axis = 0;
    bool upwards = false;
    T level = 0, radius = 0;
    std::array<T, 2> us{}, ws{};
    std::array<V, 4> corners{};
    for (int i = 0; i < kCount; ++i) {
        // Each face three times, with two centres in front of it and one behind.
        const bool front = i % 3 != 2;
        if (i % 3 == 0) {
            corners = cases.face(axis, level, us, ws, upwards);
            radius = cases.radius();
        }
        const V a = cases.centre(axis, level, us, ws, radius, front == upwards);
        V b = a;
        if (cases.pick(20) == 0)
            b.x = std::nextafter(b.x, T(10)); // a capsule, which the shortcut leaves alone

        V normal{unset, unset, unset}, expectedNormal = normal;
        T depth = unset, expectedDepth = unset;
        const bool contact =
            capsuleQuadrilateral(a, b, radius, corners[0], corners[1], corners[2], corners[3], normal, depth);
        const bool expected = detail::capsuleQuadrilateralByFace(
            a, b, radius, corners[0], corners[1], corners[2], corners[3], expectedNormal, expectedDepth);
        const auto describe = [&] {
            std::ostringstream message;
            message.precision(std::numeric_limits<T>::max_digits10);
            message << "case " << i << ": centre (" << a.x << ", " << a.y << ", " << a.z << ") radius "
                    << radius << " corners";
            for (const V& c : corners)
                message << " (" << c.x << ", " << c.y << ", " << c.z << ")";
            return message.str();
        };
        ASSERT_EQ(contact, expected) << describe();
        ASSERT_TRUE(sameBits(normal.x, expectedNormal.x) && sameBits(normal.y, expectedNormal.y) &&
                    sameBits(normal.z, expectedNormal.z) && sameBits(depth, expectedDepth))
            << describe() << ": normal (" << normal.x << ", " << normal.y << ", " << normal.z << ") depth "
            << depth << ", expected (" << expectedNormal.x << ", " << expectedNormal.y << ", "
            << expectedNormal.z << ") depth " << expectedDepth;
        contacts += contact;

        if (i % 64 == 0 && sameBits(a.x, b.x)) {
            // The outputs may be the inputs: everything is read before anything is written.
            V centre = a;
            T sameDepth = unset;
            ASSERT_EQ(capsuleQuadrilateral(centre, centre, radius, corners[0], corners[1], corners[2],
                                           corners[3], centre, sameDepth),
                      contact)
                << describe();
            if (contact) {
                ASSERT_TRUE(sameBits(centre.x, normal.x) && sameBits(centre.y, normal.y) &&
                            sameBits(centre.z, normal.z) && sameBits(sameDepth, depth))
                    << describe();
            }
        }
    }
    // Most faces are ordinary cells and most spheres reach them: the shortcut is well exercised.
    EXPECT_GT(contacts, kCount / 5);
}

} // namespace
} // namespace zor::collision
