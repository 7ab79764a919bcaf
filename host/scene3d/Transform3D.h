#pragma once

#include "common/variables/Matrix.h"
#include "common/variables/Vector.h"

namespace zor::host {

/// Row `row` (0 to 3) of multiply(first, second) into `out`: each entry sums its four
/// products from left to right. The one definition of a product row, so that a row made
/// alone has the bits of the same row of a whole product.
template <typename T>
inline void multiplyRow(const Matrix4x4<T>& first, int row, const Matrix4x4<T>& second, T* out) {
    // Read into locals first: `out` may lie anywhere, and then the compiler reloads the inputs
    // after every store instead of working on two columns at a time.
    const T a = first[4 * row], b = first[4 * row + 1], c = first[4 * row + 2], d = first[4 * row + 3];
    T made[4];
    for (int j = 0; j < 4; ++j)
        made[j] = a * second[j] + b * second[4 + j] + c * second[8 + j] + d * second[12 + j];
    for (int j = 0; j < 4; ++j)
        out[j] = made[j];
}

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
