#pragma once

#include "common/Types.h"
#include "common/variables/Vector.h"

namespace zor {

class IElement;
class IObject;
template <typename T>
class Collision3DAttribute;
template <typename T>
class RigidBody3DAttribute;

/// Asked on every contact between two primitives of a scene of number type T: (body 1,
/// element 1, collision attribute 1, rigid-body attribute 1, the same for the second, the
/// normal from the first towards the second, the depth). False ignores the contact; the normal
/// is used as the callback leaves it. Rigid-body attributes are null for static colliders.
template <typename T>
using CollisionCallback = bool (*)(IElement*, IElement*, Collision3DAttribute<T>*, RigidBody3DAttribute<T>*,
                                   IElement*, IElement*, Collision3DAttribute<T>*, RigidBody3DAttribute<T>*,
                                   Vector3<T>*, T);

/// Asked on every contact between a primitive and a face of a grid stage: (body, element,
/// collision attribute, rigid-body attribute, grid stage, face collision attribute, face
/// rigid-body attribute, cell index, face kind, segment kind, normal, depth). False ignores it.
template <typename T>
using GridStageCollisionCallback = bool (*)(IElement*, IElement*, Collision3DAttribute<T>*,
                                            RigidBody3DAttribute<T>*, IObject*, Collision3DAttribute<T>*,
                                            RigidBody3DAttribute<T>*, uint32, uint32, uint32, Vector3<T>*, T);

} // namespace zor
