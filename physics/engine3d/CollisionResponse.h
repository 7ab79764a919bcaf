#pragma once

#include "common/framework/TransformRecord.h"
#include "common/variables/Vector.h"

namespace zor {

template <typename T>
class RigidBody3DAttribute;

/// How far two bodies may overlap before they are pushed apart.
template <typename T>
inline constexpr T kCollisionSlop = T(0.001);

/// The inverse mass of a body: 0 for an infinite mass, else 1 / mass with a mass of exactly 0
/// taken as 1.
template <typename T>
T inverseMass(const RigidBody3DAttribute<T>& body);

/// The restitution of two bodies under the smaller of their two combine modes; 1 for a mode
/// that is none of the four.
template <typename T>
T combinedRestitution(const RigidBody3DAttribute<T>& first, const RigidBody3DAttribute<T>& second);

/// The outcome of a pair response.
enum class PairResponse {
    None,      ///< both masses infinite: nothing happened and the contact does not count
    Separating, ///< pushed apart, but already moving apart: speeds unchanged
    Bounced,   ///< pushed apart and given the restitution and friction impulses
};

/// Resolves a contact between two bodies along `normal` (from the first towards the second) at
/// `depth`: position correction past the slop (the displacements of the two bodies are written
/// to `moveFirst` and `moveSecond`, zero when nothing moved), then the restitution and friction
/// impulses, then the speed limits.
template <typename T>
PairResponse respondToPair(RigidBody3DAttribute<T>& first, TransformRecord<T>& firstTransform,
                           RigidBody3DAttribute<T>& second, TransformRecord<T>& secondTransform,
                           const Vector3<T>& normal, T depth, Vector3<T>& moveFirst, Vector3<T>& moveSecond);

/// Resolves a contact of a body with a face that never moves, the normal pointing from the face
/// towards the body; `faceSpeed` is added to the y of the face's own speed. False when the
/// contact is within the slop and nothing changed.
template <typename T>
bool respondToStaticFace(const Vector3<T>& normal, T depth, TransformRecord<T>& bodyTransform,
                         RigidBody3DAttribute<T>& body, const RigidBody3DAttribute<T>& face, T faceSpeed);

} // namespace zor
