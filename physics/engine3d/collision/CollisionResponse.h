#pragma once

#include "common/framework/TransformRecord.h"
#include "common/variables/Vector.h"
#include "physics/attributes/RestitutionCombine.h"
#include "physics/attributes/RigidBody3DAttribute.h"
#include "physics/engine3d/collision/BodyState.h"
#include "physics/math/Vector3Math.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <type_traits>

namespace zor {

/// How far two bodies may overlap before they are pushed apart.
template <typename T>
inline constexpr T kCollisionSlop = T(0.001);

/// The inverse mass of a body: 0 for an infinite mass, else 1 / mass with a mass of exactly 0
/// taken as 1.
template <typename T>
inline T inverseMass(const RigidBody3DAttribute<T>& body);

/// The restitution of two bodies under the smaller of their two combine modes; 1 for a mode
/// that is none of the four.
template <typename First, typename Second>
inline auto combinedRestitution(const First& first, const Second& second);

/// The outcome of a pair response.
enum class PairResponse {
    None,       ///< both masses infinite: nothing happened and the contact does not count
    Separating, ///< pushed apart, but already moving apart: speeds unchanged
    Bounced,    ///< pushed apart and given the restitution and friction impulses
};

/// Resolves a contact between two bodies along `normal` (from the first towards the second) at
/// `depth`: position correction past the slop (the displacements of the two bodies are written
/// to `moveFirst` and `moveSecond`, zero when nothing moved), then the restitution and friction
/// impulses, then the speed limits. A body is a RigidBody3DAttribute or a copy of its state that
/// answers the same calls (inverseMass included), a place anything with a `position`.
template <typename T, typename Body, typename Place>
inline PairResponse respondToPair(Body& first, Place& firstPlace, Body& second, Place& secondPlace,
                                  const Vector3<T>& normal, T depth, Vector3<T>& moveFirst,
                                  Vector3<T>& moveSecond);

/// What a pair response works out from the two bodies' materials, worked out once for a stage
/// whose bodies all share one material (see sharedMaterialOf).
template <typename T>
struct SharedMaterial;

/// respondToPair for two bodies of `material`, their copies: the same arithmetic, with the
/// material's values worked out once instead of at every contact.
template <typename T>
inline PairResponse respondToPair(const SharedMaterial<T>& material, BodyState<T>& first,
                                  BodyState<T>& second, const Vector3<T>& normal, T depth,
                                  Vector3<T>& moveFirst, Vector3<T>& moveSecond);

/// Resolves a contact of a body with a face that never moves, the normal pointing from the face
/// towards the body; `faceSpeed` is added to the y of the face's own speed. False when the
/// contact is within the slop and nothing changed.
template <typename T, typename Place, typename Body>
inline bool respondToStaticFace(const Vector3<T>& normal, T depth, Place& bodyPlace, Body& body,
                                const RigidBody3DAttribute<T>& face, T faceSpeed);

// Inline: every contact is resolved here, one after another.
namespace response_detail {

// Tangential relative speeds below this (squared) get no friction.
template <typename T>
constexpr T kTangentThreshold = T(1e-6);

template <typename T>
inline T restitutionFor(uint32 mode, T first, T second) {
    switch (mode) {
    case RestitutionCombineMax:
        return std::max(first, second);
    case RestitutionCombineMultiply:
        return first * second;
    case RestitutionCombineAverage:
        return (first + second) * T(0.5);
    case RestitutionCombineMin:
        return std::min(first, second);
    default:
        return T(1);
    }
}

/// The friction coefficient of a contact: the geometric mean, computed in double.
template <typename First, typename Second>
inline auto combinedFriction(const First& first, const Second& second) {
    using T = decltype(first.getFrictionCoefficient());
    return T(std::sqrt(double(first.getFrictionCoefficient()) * double(second.getFrictionCoefficient())));
}

/// The tangential part of `relative` across `normal`, made a unit vector; false when it is too
/// small to rub.
template <typename T>
[[gnu::always_inline]] inline bool unitTangent(const Vector3<T>& relative, const Vector3<T>& normal,
                                               Vector3<T>& tangent) {
    tangent = v3::minus(relative, v3::times(normal, v3::dot(relative, normal)));
    if (!(v3::dot(tangent, tangent) >= kTangentThreshold<T>))
        return false;
    const T size = v3::length(tangent);
    if (size != T(0))
        tangent = v3::dividedBy(tangent, size);
    return true;
}

/// Divides by one divisor, contact after contact. By a power of two (the sum of the inverse
/// masses of two bodies of mass 1, or of one against a face that never moves) the quotient is the
/// product with the reciprocal, which is exact: both round the same real number, and a
/// multiplication is shorter than a division on the chain of responses that one body's contacts
/// form.
template <typename T>
class Divisor {
public:
    explicit Divisor(T divisor) : m_divisor(divisor), m_reciprocal(T(1) / divisor) {
        using Bits = std::conditional_t<sizeof(T) == 4, uint32, uint64>;
        constexpr int kMantissa = std::numeric_limits<T>::digits - 1;
        constexpr Bits kExponentMask = (Bits(1) << (sizeof(T) * 8 - 1 - kMantissa)) - 1;
        const Bits bits = std::bit_cast<Bits>(divisor);
        const Bits exponent = bits >> kMantissa & kExponentMask;
        // A normal power of two, whose reciprocal is a power of two as well (subnormal at worst).
        m_exact = (bits & ((Bits(1) << kMantissa) - 1)) == 0 && exponent != 0 && exponent != kExponentMask;
    }
    T divide(T value) const { return m_exact ? value * m_reciprocal : value / m_divisor; }

private:
    T m_divisor;
    T m_reciprocal;
    bool m_exact;
};

/// `value` limited to [-bound, bound], without assuming the bound is positive.
template <typename T>
inline T limited(T value, T bound) {
    const T low = -bound;
    T result = value > bound ? bound : value;
    result = value < low ? low : result;
    return result;
}

/// The impulse and friction step of both responses, for a contact approaching at `approach`
/// along `normal`: the restitution impulse, handed to `applyNormal(impulse)`, which returns the
/// relative speed after it; then the friction impulse along the unit tangent of that speed,
/// bounded by `friction()` times the restitution impulse, handed to `applyTangent(tangent, rub)`.
template <typename T, typename Friction, typename ApplyNormal, typename ApplyTangent>
[[gnu::always_inline]] inline void impulses(T approach, T restitution, Friction friction,
                                            const Divisor<T>& bySum, const Vector3<T>& normal,
                                            ApplyNormal applyNormal, ApplyTangent applyTangent) {
    const T impulse = bySum.divide(-(T(1) + restitution) * approach);
    const Vector3<T> relative = applyNormal(impulse);
    Vector3<T> tangent;
    if (unitTangent(relative, normal, tangent)) {
        const T bound = friction() * impulse;
        applyTangent(tangent, limited(bySum.divide(-v3::dot(tangent, relative)), bound));
    }
}

/// The part of a pair response after the inverse masses `ki` and `kj` and the divisor of their
/// sum: position correction, then impulses. `restitution()` and `friction()` give the pair's
/// combined values, asked for only when the bodies approach and rub.
template <typename T, typename Body, typename Place, typename Restitution, typename Friction>
[[gnu::always_inline]] inline PairResponse
respondApart(Body& first, Place& firstTransform, Body& second, Place& secondTransform,
             const Vector3<T>& normal, T depth, T ki, T kj, const Divisor<T>& bySum, Restitution restitution,
             Friction friction, Vector3<T>& moveFirst, Vector3<T>& moveSecond) {
    if (depth > kCollisionSlop<T>) {
        const T correction = bySum.divide(depth - kCollisionSlop<T>);
        moveFirst = v3::times(normal, -(ki * correction));
        moveSecond = v3::times(normal, kj * correction);
        firstTransform.position = v3::plus(firstTransform.position, moveFirst);
        secondTransform.position = v3::plus(secondTransform.position, moveSecond);
    }
    Vector3<T> vi = first.getLinearSpeed(), vj = second.getLinearSpeed();
    const T approach = v3::dot(v3::minus(vj, vi), normal);
    if (approach > T(0))
        return PairResponse::Separating;
    impulses(
        approach, restitution(), friction, bySum, normal,
        [&](T impulse) {
            vi = v3::minus(vi, v3::times(normal, ki * impulse));
            vj = v3::plus(vj, v3::times(normal, kj * impulse));
            return v3::minus(vj, vi);
        },
        [&](const Vector3<T>& tangent, T rub) {
            vi = v3::minus(vi, v3::times(tangent, ki * rub));
            vj = v3::plus(vj, v3::times(tangent, kj * rub));
        });
    first.setLinearSpeed(vi);
    second.setLinearSpeed(vj);
    first.applySpeedLimits();
    second.applySpeedLimits();
    return PairResponse::Bounced;
}

} // namespace response_detail

template <typename T>
inline T inverseMass(const RigidBody3DAttribute<T>& body) {
    if (body.getInfiniteMass())
        return T(0);
    const T mass = body.getMass();
    return T(1) / (mass == T(0) ? T(1) : mass);
}

template <typename First, typename Second>
inline auto combinedRestitution(const First& first, const Second& second) {
    return response_detail::restitutionFor(
        std::min(first.getRestitutionCombine(), second.getRestitutionCombine()), first.getRestitutionFactor(),
        second.getRestitutionFactor());
}

template <typename T, typename Body, typename Place>
inline PairResponse respondToPair(Body& first, Place& firstTransform, Body& second, Place& secondTransform,
                                  const Vector3<T>& normal, T depth, Vector3<T>& moveFirst,
                                  Vector3<T>& moveSecond) {
    moveFirst = moveSecond = Vector3<T>{};
    const T ki = inverseMass(first), kj = inverseMass(second);
    const T sum = ki + kj;
    if (sum == T(0))
        return PairResponse::None;
    return response_detail::respondApart(
        first, firstTransform, second, secondTransform, normal, depth, ki, kj,
        response_detail::Divisor<T>(sum), [&] { return combinedRestitution(first, second); },
        [&] { return response_detail::combinedFriction(first, second); }, moveFirst, moveSecond);
}

template <typename T>
inline PairResponse respondToPair(const SharedMaterial<T>& material, BodyState<T>& first,
                                  BodyState<T>& second, const Vector3<T>& normal, T depth,
                                  Vector3<T>& moveFirst, Vector3<T>& moveSecond) {
    moveFirst = moveSecond = Vector3<T>{};
    return response_detail::respondApart(
        first, first, second, second, normal, depth, material.inverseMass, material.inverseMass,
        material.bySum, [&] { return material.restitution; }, [&] { return material.friction; }, moveFirst,
        moveSecond);
}

template <typename T, typename Place, typename Body>
inline bool respondToStaticFace(const Vector3<T>& normal, T depth, Place& bodyTransform, Body& body,
                                const RigidBody3DAttribute<T>& face, T faceSpeed) {
    if (depth <= kCollisionSlop<T>)
        return false;
    bodyTransform.position = v3::plus(bodyTransform.position, v3::times(normal, depth - kCollisionSlop<T>));
    Vector3<T> faceVelocity = face.getLinearSpeed();
    faceVelocity.y = faceVelocity.y + faceSpeed;
    Vector3<T> relative = v3::minus(body.getLinearSpeed(), faceVelocity);
    const T approach = v3::dot(relative, normal);
    if (approach >= T(0))
        return true;
    const T k = inverseMass(body), g = inverseMass(face);
    const T sum = k + g;
    if (k == T(0) || sum == T(0))
        return true;
    const uint32 mode = std::min(body.getRestitutionCombine(), face.getRestitutionCombine());
    const T e =
        mode > RestitutionCombineMin
            ? body.getRestitutionFactor()
            : response_detail::restitutionFor(mode, body.getRestitutionFactor(), face.getRestitutionFactor());
    const T friction = response_detail::combinedFriction(body, face);
    response_detail::impulses(
        approach, e, [friction] { return friction; }, response_detail::Divisor<T>(sum), normal,
        [&](T impulse) { return relative = v3::plus(relative, v3::times(normal, k * impulse)); },
        [&](const Vector3<T>& tangent, T rub) {
            relative = v3::plus(relative, v3::times(tangent, k * rub));
        });
    body.setLinearSpeed(v3::plus(relative, faceVelocity));
    body.applySpeedLimits();
    return true;
}

} // namespace zor
