#pragma once

#include "common/Types.h"

namespace zor {

/// A 3x3 matrix stored row by row (index 3 * row + column); the identity by default.
template <typename T>
struct Matrix3x3 {
    T m[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};

    T& operator[](std::size_t index) { return m[index]; }
    const T& operator[](std::size_t index) const { return m[index]; }
    bool operator==(const Matrix3x3&) const = default;
};

/// A 4x4 matrix stored row by row (index 4 * row + column); the identity by default.
template <typename T>
struct Matrix4x4 {
    T m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    T& operator[](std::size_t index) { return m[index]; }
    const T& operator[](std::size_t index) const { return m[index]; }
    bool operator==(const Matrix4x4&) const = default;
};

static_assert(sizeof(Matrix3x3<float>) == 36 && sizeof(Matrix3x3<double>) == 72);
static_assert(sizeof(Matrix4x4<float>) == 64 && sizeof(Matrix4x4<double>) == 128);

} // namespace zor
