#pragma once

#include "common/Types.h"
#include "common/variables/Vector.h"
#include "physics/engine3d/CollisionCallbacks.h"

namespace zor {

template <typename T>
class IGridStage;
template <typename T>
class ICollisionDetector;
template <typename T>
struct PhysicsCollisionPrimitive3D;

/// The grid stage's collision attribute `index`, or null (no such index, the "none" index
/// 0xFFFFFFFE, a null entry, or an attribute of another class, which is reported).
template <typename T>
Collision3DAttribute<T>* getGridStageCollision3D(IGridStage<T>& stage, uint32 index);

/// The grid stage's rigid-body attribute `index`, or null, as getGridStageCollision3D.
template <typename T>
RigidBody3DAttribute<T>* getGridStageRigidBody3D(IGridStage<T>& stage, uint32 index);

/// A sphere or capsule as the grid-stage test carries it along while responses push its body.
template <typename T>
struct CapsuleShape {
    Vector3<T> pointA;
    Vector3<T> pointB;
    T radius;
};

/// Collides `shape` (a copy of `primitive`'s) with the faces of the tiles its bounds overlap,
/// widened by its radius: floors, ceilings and the wall segments of each present side. Each
/// accepted contact between a rigid body and a rigid face gets the static-face response, and
/// the shape follows the body. With `passOverApart`, faces whose box lies beyond the shape's
/// reach are passed over without asking the detector, which finds no contact there. True when
/// any face responded.
template <typename T>
bool collideWithGridStage(IGridStage<T>& stage, ICollisionDetector<T>& detector,
                          GridStageCollisionCallback<T> callback, PhysicsCollisionPrimitive3D<T>& primitive,
                          CapsuleShape<T>& shape, bool passOverApart);

} // namespace zor
