#pragma once

#include "common/containers/Array.h"
#include "physics/engine3d/collision/BodyState.h"
#include "physics/engine3d/collision/CollisionResponse.h"
#include "physics/engine3d/collision/PrimitiveRecord.h"

#include <optional>

namespace zor {

/// What a pair response works out from two bodies of one material, worked out once.
template <typename T>
struct SharedMaterial {
    T inverseMass;
    response_detail::Divisor<T> bySum;
    T restitution;
    T friction;
};

/// The material that the copied bodies of `records` that move when hit all have, to the bit,
/// with its combined restitution, friction and inverse-mass divisor worked out once; none when
/// two differ, when there are none or when they are of infinite mass.
template <typename T>
std::optional<SharedMaterial<T>> sharedMaterialOf(const Array<PhysicsCollisionPrimitive3D<T>>& records,
                                                  const Array<BodyState<T>>& states);

} // namespace zor
