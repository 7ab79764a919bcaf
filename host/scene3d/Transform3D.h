#pragma once

#include "common/variables/Matrix.h"
#include "common/variables/Vector.h"

namespace zor::host {

/// The product for the row-vector convention: u·result = (u·first)·second.
template <typename T>
Matrix4x4<T> multiply(const Matrix4x4<T>& first, const Matrix4x4<T>& second);

/// (p, 1)·m, without the fourth component.
template <typename T>
Vector3<T> transformPoint(const Vector3<T>& p, const Matrix4x4<T>& m);

/// The matrix that scales, then turns about x, y and z in that order (radians), then moves.
template <typename T>
Matrix4x4<T> localMatrix(const Vector3<T>& position, const Vector3<T>& rotation, const Vector3<T>& scale);

} // namespace zor::host
