#pragma once

#include "common/variables/Matrix.h"
#include "common/variables/Rect.h"
#include "common/variables/Vector.h"

// Matrix routines shared by the hit tests and the 3D engine. Points are row vectors multiplied
// on the left (u × M), so a 2D transform keeps its translation in m[6] and m[7], and a 3D one
// in m[12] to m[14]. Defined for float and double; nothing here allocates.

namespace zor {

/// out = in × matrix; returns out (which may be `in` itself). An affine matrix (last column
/// exactly 0, 0, 1) passes the third component through unmultiplied.
template <typename T>
Vector3<T>& transform(const Matrix3x3<T>& matrix, Vector3<T>& out, const Vector3<T>& in);

/// Replaces the matrix by its inverse. A singular matrix (determinant exactly 0) is left
/// transposed: callers go on with that rather than fail.
template <typename T>
void inverse(Matrix3x3<T>& matrix);

/// True when `point`, taken into the local coordinates of `matrix`, lies in `rect`, borders
/// included. A point that maps to infinity (local third component 0) is never inside.
template <typename T>
bool isPointInTransformedRect(const Vector2<T>& point, const Rect<T>& rect, const Matrix3x3<T>& matrix);

/// out = in × matrix; returns out (which may be `in` itself). An affine matrix (last column
/// exactly 0, 0, 0, 1) passes the fourth component through unmultiplied.
template <typename T>
Vector4<T>& transform(const Matrix4x4<T>& matrix, Vector4<T>& out, const Vector4<T>& in);

/// out = b × a, so that u × out = (u × b) × a; `out` may be `a` or `b`. Two affine factors
/// give an affine product without computing its last column.
template <typename T>
void multiply(const Matrix4x4<T>& a, Matrix4x4<T>& out, const Matrix4x4<T>& b);

} // namespace zor
