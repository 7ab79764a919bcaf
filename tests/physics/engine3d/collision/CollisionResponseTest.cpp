#include "physics/engine3d/collision/CollisionResponse.h"

#include "physics/attributes/RigidBody3DAttribute.h"

#include "physics/attributes/AttributeTesting.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>

namespace zor {
namespace {

using test::make;
using test::Owned;
using V = Vector3<double>;
using Body = RigidBody3DAttribute<double>;

class CollisionResponse : public test::AttributeTest {
protected:
    /// A rigid body of mass 1 at rest, with the changes `adjust` makes.
    template <typename Adjust>
    Owned<Body> body(Adjust adjust) {
        Owned<Body> made = make<Body>();
        adjust(*made);
        return made;
    }
    Owned<Body> body() {
        return body([](Body&) {});
    }

    TransformRecord<double> m_first{}, m_second{};
    V m_moveFirst, m_moveSecond;

    PairResponse respond(Body& first, Body& second, V normal, double depth) {
        return respondToPair(first, m_first, second, m_second, normal, depth, m_moveFirst, m_moveSecond);
    }
};

TEST_F(CollisionResponse, HeadOnBodiesExchangeSpeedsAndShallowContactsAreNotPushed) {
    auto first = body([](Body& b) { b.setLinearSpeed({1, 0, 0}); });
    auto second = body([](Body& b) { b.setLinearSpeed({-1, 0, 0}); });
    EXPECT_EQ(respond(*first, *second, {1, 0, 0}, 0.0005), PairResponse::Bounced);
    EXPECT_EQ(first->getLinearSpeed(), (V{-1, 0, 0}));
    EXPECT_EQ(second->getLinearSpeed(), (V{1, 0, 0}));
    EXPECT_EQ(m_first.position, V{});
    EXPECT_EQ(m_moveSecond, V{});
}

TEST_F(CollisionResponse, InverseMassesSplitTheCorrectionAndTheImpulse) {
    auto wall = body([](Body& b) { b.setInfiniteMass(true); });
    auto heavy = body([](Body& b) { b.setMass(2), b.setLinearSpeed({-1, 0, 0}); });
    EXPECT_EQ(respond(*wall, *heavy, {1, 0, 0}, 0.101), PairResponse::Bounced);
    EXPECT_EQ(m_first.position, V{});
    EXPECT_NEAR(m_second.position.x, 0.1, 1e-15);
    EXPECT_EQ(wall->getLinearSpeed(), V{});
    EXPECT_NEAR(heavy->getLinearSpeed().x, 1, 1e-15);

    // A mass of exactly 0 counts as 1; two infinite masses get nothing.
    auto weightless = body([](Body& b) { b.setMass(0), b.setLinearSpeed({1, 0, 0}); });
    auto other = body([](Body& b) { b.setLinearSpeed({-1, 0, 0}); });
    respond(*weightless, *other, {1, 0, 0}, 0);
    EXPECT_EQ(weightless->getLinearSpeed(), (V{-1, 0, 0}));
    auto wall2 = body([](Body& b) { b.setInfiniteMass(true); });
    EXPECT_EQ(respond(*wall, *wall2, {1, 0, 0}, 1), PairResponse::None);
}

TEST_F(CollisionResponse, SeparatingBodiesArePushedApartButKeepTheirSpeeds) {
    auto first = body([](Body& b) { b.setLinearSpeed({-1, 0, 0}); });
    auto second = body();
    EXPECT_EQ(respond(*first, *second, {1, 0, 0}, 0.201), PairResponse::Separating);
    EXPECT_NEAR(m_first.position.x, -0.1, 1e-15);
    EXPECT_NEAR(m_second.position.x, 0.1, 1e-15);
    EXPECT_EQ(first->getLinearSpeed(), (V{-1, 0, 0}));
}

TEST_F(CollisionResponse, FrictionIsBoundedByTheNormalImpulseAndSpeedLimitsFollow) {
    auto ground = body(
        [](Body& b) { b.setInfiniteMass(true), b.setFrictionCoefficient(0.5), b.setRestitutionFactor(0); });
    auto slider = body([](Body& b) {
        b.setLinearSpeed({2, -1, 0}), b.setFrictionCoefficient(0.5), b.setRestitutionFactor(0);
    });
    respond(*ground, *slider, {0, 1, 0}, 0);
    EXPECT_EQ(slider->getLinearSpeed(), (V{1.5, 0, 0}));

    auto limited = body([](Body& b) { b.setLinearSpeed({-1, 0, 0}), b.setMaxLinearSpeed(0.5); });
    auto other = body([](Body& b) { b.setLinearSpeed({1, 0, 0}); });
    respond(*other, *limited, {1, 0, 0}, 0);
    EXPECT_EQ(limited->getLinearSpeed(), (V{0.5, 0, 0}));
}

TEST_F(CollisionResponse, StaticFacesPushAndBounceOnlyTheBody) {
    auto floor = body([](Body& b) { b.setInfiniteMass(true), b.setRestitutionFactor(0.5); });
    auto ball = body([](Body& b) { b.setLinearSpeed({0, -2, 0}), b.setRestitutionFactor(0.5); });
    TransformRecord<double> at{};
    EXPECT_FALSE(respondToStaticFace<double>({0, 1, 0}, 0.001, at, *ball, *floor, 0)) << "within the slop";
    EXPECT_EQ(ball->getLinearSpeed(), (V{0, -2, 0}));

    EXPECT_TRUE(respondToStaticFace<double>({0, 1, 0}, 0.101, at, *ball, *floor, 0));
    EXPECT_NEAR(at.position.y, 0.1, 1e-15);
    EXPECT_EQ(ball->getLinearSpeed(), (V{0, 1, 0})) << "half the speed back";

    // A rising floor lends the body its speed; a body moving away keeps its own.
    ball->setLinearSpeed({});
    EXPECT_TRUE(respondToStaticFace<double>({0, 1, 0}, 0.101, at, *ball, *floor, 1));
    EXPECT_EQ(ball->getLinearSpeed(), (V{0, 1.5, 0}));
    EXPECT_TRUE(respondToStaticFace<double>({0, 1, 0}, 0.101, at, *ball, *floor, 0));
    EXPECT_EQ(ball->getLinearSpeed(), (V{0, 1.5, 0}));
    EXPECT_NEAR(at.position.y, 0.3, 1e-15);

    // An unmovable body is pushed out but its speed stays.
    auto anchored = body([](Body& b) { b.setInfiniteMass(true), b.setLinearSpeed({0, -1, 0}); });
    EXPECT_TRUE(respondToStaticFace<double>({0, 1, 0}, 0.101, at, *anchored, *floor, 0));
    EXPECT_EQ(anchored->getLinearSpeed(), (V{0, -1, 0}));
}

// The smaller combine mode chooses the restitution, for a pair and for a body bouncing off a
// static face at 2; past the last mode a pair takes 1, a face the body's own factor.
TEST_F(CollisionResponse, TheSmallerCombineModeChoosesTheRestitution) {
    struct Case {
        uint32 bodyMode, otherMode;
        double pair, bounce;
    } const cases[] = {
        {0, 3, 0.75, 1.5},     {3, 0, 0.75, 1.5}, // MAX wins over COMBINE_MIN either way
        {1, 2, 0.1875, 0.375},                    // MULTIPLY
        {3, 2, 0.5, 1},                           // AVERAGE
        {3, 3, 0.25, 0.5},                        // COMBINE_MIN
        {7, 9, 1, 0.5},                           // no such mode
    };
    for (const Case& c : cases) {
        auto other = body([&](Body& b) {
            b.setInfiniteMass(true), b.setRestitutionCombine(c.otherMode), b.setRestitutionFactor(0.75);
        });
        auto ball = body([&](Body& b) {
            b.setLinearSpeed({0, -2, 0}), b.setRestitutionCombine(c.bodyMode), b.setRestitutionFactor(0.25);
        });
        EXPECT_EQ(combinedRestitution(*ball, *other), c.pair) << c.bodyMode << " " << c.otherMode;
        TransformRecord<double> at{};
        EXPECT_TRUE(respondToStaticFace<double>({0, 1, 0}, 0.101, at, *ball, *other, 0));
        EXPECT_EQ(ball->getLinearSpeed(), (V{0, c.bounce, 0})) << c.bodyMode << " " << c.otherMode;
    }
}

/// The divisor's quotients are those of the division, bit for bit, whether it multiplies by an
/// exact reciprocal (powers of two, down to the smallest normal) or divides.
template <typename T>
void expectQuotientsOfDivision() {
    using Bits = std::conditional_t<sizeof(T) == 4, uint32, uint64>;
    const T divisors[] = {T(2),
                          T(1),
                          T(0.5),
                          T(-4),
                          std::numeric_limits<T>::min(),
                          std::ldexp(T(1), 60),
                          T(3),
                          T(1.5),
                          std::numeric_limits<T>::denorm_min(),
                          std::numeric_limits<T>::max()};
    std::mt19937_64 random(7);
    std::uniform_int_distribution<Bits> anyBits;
    for (const T divisor : divisors) {
        const response_detail::Divisor<T> by(divisor);
        for (int i = 0; i < 20000; ++i) {
            // Every kind of value: normal, subnormal, zero, infinite, NaN.
            const T value = std::bit_cast<T>(anyBits(random));
            const T expected = value / divisor, found = by.divide(value);
            if (std::isnan(expected))
                ASSERT_TRUE(std::isnan(found));
            else
                ASSERT_EQ(std::bit_cast<Bits>(found), std::bit_cast<Bits>(expected))
                    << value << " / " << divisor;
        }
    }
}

TEST(CollisionResponseDivisor, QuotientsAreThoseOfTheDivisionInBothNumberTypes) {
    expectQuotientsOfDivision<float>();
    expectQuotientsOfDivision<double>();
}

} // namespace
} // namespace zor
