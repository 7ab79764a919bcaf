#pragma once

#include "common/Types.h"
#include "common/containers/Array.h"
#include "common/framework/TransformRecord.h"
#include "common/variables/Vector.h"
#include "physics/engine3d/collision/BodyState.h"

namespace zor {

class IElement;
class IMesh;
template <typename T>
class Collision3DAttribute;
template <typename T>
class RigidBody3DAttribute;

/// Shapes of collision primitives.
enum CollisionShape : uint8 {
    CollisionShapeSphere = 0,
    CollisionShapeCapsule = 1,
    CollisionShapeMesh = 2,
};

/// One scene entry as the collision stage sees it, in world coordinates: a sphere (pointA =
/// pointB = centre), a capsule (its axis from pointA to pointB) or a mesh (its vertices), and
/// the body that moves when it is hit. A primitive without a rigid-body attribute is static.
template <typename T>
struct PhysicsCollisionPrimitive3D {
    bool active;
    uint8 shape;
    IElement* element;
    /// Holds one reference while the stage runs.
    IElement* body;
    TransformRecord<T>* bodyTransform;
    Collision3DAttribute<T>* collisionAttribute;
    RigidBody3DAttribute<T>* rigidBodyAttribute;
    IMesh* meshData;
    Vector3<T> pointA;
    Vector3<T> pointB;
    T radius;
    /// Mesh only: the vertices in world coordinates, owned by the record (null otherwise).
    Array<Vector3<T>>* vertices;
};

/// True when the primitive is active and has a body that moves: the primitives whose bodies the
/// responses push.
template <typename T>
inline bool movesWhenHit(const PhysicsCollisionPrimitive3D<T>& primitive) {
    return primitive.active && primitive.rigidBodyAttribute != nullptr;
}

/// The position of the primitive's body that the responses move: its copy's (`state`) when there
/// is one, else the body's own.
template <typename T>
inline Vector3<T>& positionOf(PhysicsCollisionPrimitive3D<T>& primitive, BodyState<T>* state) {
    return state != nullptr ? state->position : primitive.bodyTransform->position;
}

/// The exclusion group of the primitive's body (its copy's, `state`, when there is one); 0 for
/// none or a static primitive.
template <typename T>
inline uint32 groupOf(const PhysicsCollisionPrimitive3D<T>& primitive, const BodyState<T>* state) {
    const RigidBody3DAttribute<T>* body = primitive.rigidBodyAttribute;
    return body == nullptr ? 0 : state != nullptr ? state->exclusionGroup : body->getExclusionGroup();
}

} // namespace zor
