#pragma once

#include "common/variables/Matrix.h"
#include "common/variables/Vector.h"

namespace zor {

/// A local 2D transform: scale, then rotation, then translation. Points are row vectors
/// multiplied on the left, so the translation lands in m[6] and m[7].
template <typename T>
struct Transform2D {
    Vector2<T> translation{};
    /// Degrees; positive turns x towards y (clockwise on a screen, whose y points down).
    double rotationDegrees = 0;
    Vector2<T> scale{1, 1};

    /// The matrix from local coordinates to the parent's.
    Matrix3x3<T> matrix() const;
};

/// a × b: the transform that applies a first, then b.
template <typename T>
Matrix3x3<T> concatenate(const Matrix3x3<T>& a, const Matrix3x3<T>& b);

} // namespace zor
