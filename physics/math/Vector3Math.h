#pragma once

#include "common/variables/Vector.h"

#include <cmath>

// Component-wise vector arithmetic in the scene's number type, in the order the formulas of the
// collision stage are written (no fused operations: results must not depend on the compiler).
namespace zor::v3 {

template <typename T>
Vector3<T> plus(const Vector3<T>& a, const Vector3<T>& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

template <typename T>
Vector3<T> minus(const Vector3<T>& a, const Vector3<T>& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

template <typename T>
Vector3<T> times(const Vector3<T>& v, T k) {
    return {v.x * k, v.y * k, v.z * k};
}

template <typename T>
Vector3<T> dividedBy(const Vector3<T>& v, T k) {
    return {v.x / k, v.y / k, v.z / k};
}

template <typename T>
T dot(const Vector3<T>& a, const Vector3<T>& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

template <typename T>
T length(const Vector3<T>& v) {
    return std::sqrt(dot(v, v));
}

/// std::max(a, b) bit for bit (the first when they compare equal or either is NaN), written so
/// that it compiles to one maximum instruction instead of a compare and a branch.
inline double larger(double a, double b) {
    return b > a ? b : a;
}

/// The length computed in double and converted to T, for sizes taken from matrices.
template <typename T>
T lengthInDouble(const Vector3<T>& v) {
    const double x = v.x, y = v.y, z = v.z;
    return T(std::sqrt(x * x + y * y + z * z));
}

} // namespace zor::v3
