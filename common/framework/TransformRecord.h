#pragma once

#include "common/variables/Matrix.h"
#include "common/variables/Vector.h"

namespace zor {

/// An element's transform in a host 3D scene, read and written in place by the 3D engine: the
/// host's local matrix (built by the host from the rest, never touched by the engine), then the
/// position and the rotation (radians about x, y and z) relative to the parent.
template <typename T>
struct TransformRecord {
    Matrix4x4<T> local;
    Vector3<T> position;
    Vector3<T> rotation;
};

static_assert(sizeof(TransformRecord<float>) == 22 * 4 && sizeof(TransformRecord<double>) == 22 * 8);

} // namespace zor
