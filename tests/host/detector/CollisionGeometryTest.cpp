#include "host/detector/CollisionGeometry.h"

#include "common/containers/Array.h"
#include "common/object/Identifiers.h"
#include "common/object/ObjectFactory.h"
#include "host/detector/HostCollisionDetector.h"
#include "host/scene3d/Mesh3D.h"

#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <random>
#include <sstream>
#include <utility>
#include <vector>

namespace zor::collision {
namespace {

using V = Vector3<double>;

struct Expected {
    bool contact;
    V normal;
    double depth;
};

void expectContact(bool contact, const Contact<double>& found, const Expected& expected, const char* what) {
    SCOPED_TRACE(what);
    ASSERT_EQ(contact, expected.contact);
    if (!contact)
        return;
    EXPECT_NEAR(found.normal.x, expected.normal.x, 1e-12);
    EXPECT_NEAR(found.normal.y, expected.normal.y, 1e-12);
    EXPECT_NEAR(found.normal.z, expected.normal.z, 1e-12);
    EXPECT_NEAR(found.depth, expected.depth, 1e-12);
}

TEST(CollisionGeometry, SpheresAndCapsulesAgainstEachOther) {
    struct Case {
        const char* what;
        V a1, b1;
        double r1;
        V a2, b2;
        double r2;
        Expected expected;
    };
    // clang-format off
    const Case cases[] = {
        {"overlapping spheres", {0, 0, 0}, {0, 0, 0}, 1, {1.5, 0, 0}, {1.5, 0, 0}, 1, {true, {1, 0, 0}, 0.5}},
        {"spheres just touching", {0, 0, 0}, {0, 0, 0}, 1, {0, 2, 0}, {0, 2, 0}, 1, {false, {}, 0}},
        {"coincident centres push up", {3, 3, 3}, {3, 3, 3}, 1, {3, 3, 3}, {3, 3, 3}, 0.5, {true, {0, 1, 0}, 1.5}},
        {"crossing capsules", {-1, 0, 0}, {1, 0, 0}, 0.5, {0, 0.8, -1}, {0, 0.8, 1}, 0.5, {true, {0, 1, 0}, 0.2}},
        {"parallel capsules", {-1, 0, 0}, {1, 0, 0}, 0.5, {-1, 0, 0.5}, {1, 0, 0.5}, 0.5, {true, {0, 0, 1}, 0.5}},
        {"capsule end on a sphere", {0, 0, 0}, {0, 2, 0}, 0.5, {0, 2.5, 0}, {0, 2.5, 0}, 0.25, {true, {0, 1, 0}, 0.25}},
        {"intersecting axes", {-1, 0, 0}, {1, 0, 0}, 0.5, {0, 0, -1}, {0, 0, 1}, 0.5, {true, {0, -1, 0}, 1}},
        {"coincident capsules", {-1, 0, 0}, {1, 0, 0}, 0.5, {-1, 0, 0}, {1, 0, 0}, 0.5, {true, {0, 0, 1}, 1}},
    };
    // clang-format on
    for (const Case& c : cases) {
        Contact<double> found;
        expectContact(capsuleCapsule(c.a1, c.b1, c.r1, c.a2, c.b2, c.r2, found), found, c.expected, c.what);
    }
}

using detail::sameBits;

// The sphere test is the capsule test for capsules of no length, to the bit: over random
// centres, centres with coordinates of either sign of zero, centres too close for a normal,
// and centres or radii that are infinite or NaN.
template <typename T>
void expectSphereSphereIsTheCapsuleTest() {
    using VT = Vector3<T>;
    const T inf = std::numeric_limits<T>::infinity(), nan = std::numeric_limits<T>::quiet_NaN();
    const T specials[] = {T(0), T(-0.0), T(1e-13), T(-0.5), T(0.75), inf, -inf, nan};
    std::vector<std::pair<VT, VT>> centres;
    // A difference of -0 on one axis, from -0 less +0.
    for (T a : specials)
        for (T b : specials) {
            centres.push_back({VT{T(0), a, b}, VT{T(-0.0), b, a}});
            centres.push_back({VT{a, T(0), b}, VT{b, T(-0.0), a}});
            centres.push_back({VT{a, b, T(0)}, VT{b, a, T(-0.0)}});
        }
    std::mt19937 random(1206);
    std::uniform_real_distribution<double> coordinate(-1, 1);
    for (int i = 0; i < 3000; ++i) {
        VT c1{T(coordinate(random)), T(coordinate(random)), T(coordinate(random))};
        // Some pairs share a coordinate or all of them, and some differ by a hair.
        VT c2{T(coordinate(random)), T(coordinate(random)), T(coordinate(random))};
        if (i % 5 == 0)
            c2.y = c1.y;
        if (i % 17 == 0)
            c2 = c1;
        if (i % 23 == 0)
            c2 = {c1.x, c1.y, std::nextafter(c1.z, T(2))};
        if (i % 2 == 0) {
            T VT::*axes[] = {&VT::x, &VT::y, &VT::z};
            c1.*axes[i % 3] = T(0);
            c2.*axes[i % 3] = T(-0.0);
        }
        centres.push_back({c1, c2});
    }
    const T radii[] = {T(0.25), T(0.6), T(0), inf, nan};
    int contacts = 0;
    for (std::size_t i = 0; i < centres.size(); ++i) {
        const auto& [c1, c2] = centres[i];
        const T r1 = radii[i % 5], r2 = radii[(i / 5) % 3];
        VT normal{T(7), T(7), T(7)};
        T depth = T(7);
        Contact<T> capsules;
        const bool contact = sphereSphere(c1, r1, c2, r2, normal, depth);
        ASSERT_EQ(contact, capsuleCapsule(c1, c1, r1, c2, c2, r2, capsules)) << i;
        if (!contact) {
            ASSERT_TRUE(sameBits(normal.x, T(7)) && sameBits(depth, T(7))) << i << ": outputs left alone";
            continue;
        }
        ++contacts;
        ASSERT_TRUE(sameBits(normal.x, capsules.normal.x) && sameBits(normal.y, capsules.normal.y) &&
                    sameBits(normal.z, capsules.normal.z) && sameBits(depth, capsules.depth))
            << i;
    }
    EXPECT_GT(contacts, 500);
}

TEST(CollisionGeometry, SphereSphereIsTheCapsuleTestToTheBit) {
    expectSphereSphereIsTheCapsuleTest<double>();
    expectSphereSphereIsTheCapsuleTest<float>();
}

// A floor cell and a ceiling cell in the corner orders of a grid stage: x from 0 to 1, z from 0
// to -1, at y = 0.
const V kFloor[] = {{0, 0, -1}, {0, 0, 0}, {1, 0, 0}, {1, 0, -1}};
const V kCeiling[] = {{0, 0, -1}, {1, 0, -1}, {1, 0, 0}, {0, 0, 0}};

TEST(CollisionGeometry, CapsulesAgainstOneSidedFaces) {
    struct Case {
        const char* what;
        const V* face;
        V a, b;
        double radius;
        Expected expected;
    };
    // clang-format off
    const Case cases[] = {
        {"sphere resting on the floor", kFloor, {0.5, 0.3, -0.5}, {0.5, 0.3, -0.5}, 0.5, {true, {0, 1, 0}, 0.2}},
        {"sphere under the floor", kFloor, {0.5, -0.3, -0.5}, {0.5, -0.3, -0.5}, 0.5, {false, {}, 0}},
        {"sphere under the ceiling", kCeiling, {0.5, -0.3, -0.5}, {0.5, -0.3, -0.5}, 0.5, {true, {0, -1, 0}, 0.2}},
        {"sphere above the ceiling", kCeiling, {0.5, 0.3, -0.5}, {0.5, 0.3, -0.5}, 0.5, {false, {}, 0}},
        {"capsule sunk through the floor", kFloor, {0.5, -0.2, -0.5}, {0.5, 1, -0.5}, 0.5, {true, {0, 1, 0}, 0.7}},
        {"capsule lying on the floor", kFloor, {0.2, 0.4, -0.5}, {0.8, 0.4, -0.5}, 0.5, {true, {0, 1, 0}, 0.1}},
        {"sphere beside the edge", kFloor, {1.3, 0, -0.5}, {1.3, 0, -0.5}, 0.5, {true, {1, 0, 0}, 0.2}},
        {"sphere out of reach", kFloor, {0.5, 0.5, -0.5}, {0.5, 0.5, -0.5}, 0.5, {false, {}, 0}},
        {"sphere past the corner", kFloor, {1.3, 0.4, 0.3}, {1.3, 0.4, 0.3}, 0.5, {false, {}, 0}},
    };
    // clang-format on
    for (const Case& c : cases) {
        Contact<double> found;
        expectContact(capsuleFace(c.a, c.b, c.radius, c.face, 4, found), found, c.expected, c.what);
    }
    const V line[] = {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}};
    Contact<double> found;
    EXPECT_FALSE(capsuleFace(V{1, 0.1, 0}, V{1, 0.1, 0}, 1.0, line, 4, found)) << "a face without area";
}

TEST(CollisionGeometry, MeshesGiveTheDeepestTriangleContactSeenFromTheCapsule) {
    const V vertices[] = {{0, 0, -1}, {0, 0, 0}, {1, 0, 0}, {1, 0, -1}, {5, 5, 5}};
    const uint32 floor[] = {0, 1, 2, 0, 2, 3};
    Contact<double> found;
    expectContact(capsuleMesh(V{0.75, 0.3, -0.25}, V{0.75, 0.3, -0.25}, 0.5, vertices, 5, floor, 6, found),
                  found, {true, {0, -1, 0}, 0.2}, "sphere on a two-triangle floor");
    expectContact(capsuleMesh(V{0.5, 0.1, -0.5}, V{0.5, 0.6, -0.5}, 0.25, vertices, 5, floor, 6, found),
                  found, {true, {0, -1, 0}, 0.15}, "upright capsule over the shared edge");
    const uint32 broken[] = {0, 1, 9, 4, 4, 4, 0, 1};
    EXPECT_FALSE(capsuleMesh(V{0.5, 0.3, -0.5}, V{0.5, 0.3, -0.5}, 0.5, vertices, 5, broken, 8, found))
        << "indices out of range, a zero-area triangle and a trailing partial triangle are passed over";
}

// Random capsule pairs: every contact has a finite unit normal and a depth within the reach, and
// moving the second capsule out along the normal by the depth separates the pair.
TEST(CollisionGeometry, ContactsSeparateAlongTheirNormal) {
    std::mt19937 random(20261206);
    std::uniform_real_distribution<double> coordinate(-2, 2), radius(0.05, 1);
    int contacts = 0;
    for (int i = 0; i < 2000; ++i) {
        const V a1{coordinate(random), coordinate(random), coordinate(random)};
        const V b1 = i % 4 == 0 ? a1 : V{coordinate(random), coordinate(random), coordinate(random)};
        const V a2{coordinate(random), coordinate(random), coordinate(random)};
        const V b2{coordinate(random), coordinate(random), coordinate(random)};
        const double r1 = radius(random), r2 = radius(random);
        Contact<double> found;
        if (!capsuleCapsule(a1, b1, r1, a2, b2, r2, found))
            continue;
        ++contacts;
        const V& n = found.normal;
        ASSERT_NEAR(std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z), 1.0, 1e-9) << i;
        ASSERT_GT(found.depth, 0.0) << i;
        ASSERT_LE(found.depth, r1 + r2 + 1e-12) << i;
        const double push = found.depth + 1e-9;
        const V shift{n.x * push, n.y * push, n.z * push};
        const V movedA{a2.x + shift.x, a2.y + shift.y, a2.z + shift.z};
        const V movedB{b2.x + shift.x, b2.y + shift.y, b2.z + shift.z};
        Contact<double> after;
        if (capsuleCapsule(a1, b1, r1, movedA, movedB, r2, after)) {
            EXPECT_LT(after.depth, 1e-6) << i;
        }
    }
    EXPECT_GT(contacts, 200);
}

template <typename T>
class HostCollisionDetectorTest : public testing::Test {};
using NumberTypes = testing::Types<float, double>;
TYPED_TEST_SUITE(HostCollisionDetectorTest, NumberTypes);

// The factory gives the detector of the scene's number type; its tests answer through the
// pointers with the normal directions the engine expects.
TYPED_TEST(HostCollisionDetectorTest, IsCreatedByIdentifierAndAnswersThroughItsSlots) {
    using T = TypeParam;
    using V = Vector3<T>;
    test::TestApplicationData record(&HostObject::create);
    zor_addObjectAllocator<HostCollisionDetector<T>>();
    IObject* created = zor_createObjectFromGUIDAndTypeName(guids::kCollisionDetector,
                                                           String(sizeof(T) == 4 ? "float" : "double"));
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(created->getTemplateType(), sizeof(T) == 4 ? 10 : 11);
    auto* detector = static_cast<ICollisionDetector<T>*>(created->castTo(guids::kCollisionDetector));
    ASSERT_EQ(detector, created);

    const V floor[] = {{0, 0, -1}, {0, 0, 0}, {1, 0, 0}, {1, 0, -1}};
    const V centre{T(0.5), T(0.25), T(-0.5)}, far{T(0.5), T(3), T(-0.5)};
    const T radius = T(0.5);
    V normal{};
    T depth = 0;
    ASSERT_TRUE(detector->testCapsuleQuadrilateral(&centre, &centre, &radius, &floor[0], &floor[1], &floor[2],
                                                   &floor[3], &normal, &depth));
    EXPECT_EQ(normal, (V{0, 1, 0})) << "from the face towards the capsule";
    EXPECT_NEAR(depth, T(0.25), 1e-6);

    // A unit floor cell as two triangles.
    Mesh3D<T> mesh;
    for (const V& corner : floor)
        mesh.vertices().pushBack(corner);
    for (uint32 index : {0u, 1u, 2u, 0u, 2u, 3u})
        mesh.triangles().pushBack(index);
    const Array<V>& vertices = mesh.vertices();
    ASSERT_TRUE(detector->testSphereMesh(&centre, &radius, &mesh, &vertices, &normal, &depth));
    EXPECT_EQ(normal, (V{0, -1, 0})) << "from the sphere towards the mesh";
    normal = {};
    EXPECT_FALSE(detector->testCapsuleMesh(&far, &far, &radius, &mesh, &vertices, &normal, &depth));
    EXPECT_FALSE(detector->testCapsuleMesh(&centre, &centre, &radius, nullptr, &vertices, &normal, &depth));
    EXPECT_EQ(normal, V{}) << "outputs are left alone without contact";

    const V other{T(0.5), T(0.25), T(0.25)};
    ASSERT_TRUE(detector->testSphereSphere(&centre, &radius, &other, &radius, &normal, &depth));
    EXPECT_EQ(normal, (V{0, 0, 1}));
    created->release();
}

// capsuleQuadrilateral takes a shortcut for spheres against rectangles across an axis; it must
// answer as the general face test does, to the bit, for every input. These tests throw grid-like
// faces in every corner order and facing at it, with centres, radii and coordinates chosen to sit
// on the shortcut's boundaries: zeros of either sign, edges hit exactly, heights near zero, the
// touching distance and the radius, sizes near the moderate limits, subnormals, infinities, NaN.

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
