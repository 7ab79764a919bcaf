#pragma once

#include "physics/engine3d/ICollisionReport.h"
#include "physics/engine3d/collision/PrimitiveRecord.h"

#include <vector>

namespace zor {

/// The contacts a listed collision stage found, in the order it found them.
template <typename T>
using ContactList = std::vector<ListedContact<T>>;

/// Where the primitive's body stands at this moment of the passes: its copy's position (`state`)
/// when there is one, else its transform record's; 0 without either.
template <typename T>
Vector3<T> listedPosition(const PhysicsCollisionPrimitive3D<T>& primitive, const BodyState<T>* state) {
    if (state != nullptr)
        return state->position;
    return primitive.bodyTransform != nullptr ? primitive.bodyTransform->position : Vector3<T>{};
}

} // namespace zor
