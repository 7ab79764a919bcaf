#pragma once

#include "common/Types.h"

namespace zor {

/// A 2D vector (int32_t, int64_t, float or double components); zero by default.
template <typename T>
struct Vector2 {
    T x = 0;
    T y = 0;

    bool operator==(const Vector2&) const = default;
};

/// A 3D vector (float or double); zero by default.
template <typename T>
struct Vector3 {
    T x = 0;
    T y = 0;
    T z = 0;

    bool operator==(const Vector3&) const = default;
};

/// A 4D vector (float or double); zero by default.
template <typename T>
struct Vector4 {
    T x = 0;
    T y = 0;
    T z = 0;
    T w = 0;

    bool operator==(const Vector4&) const = default;
};

static_assert(sizeof(Vector2<int32>) == 8 && sizeof(Vector2<int64>) == 16);
static_assert(sizeof(Vector3<float>) == 12 && sizeof(Vector3<double>) == 24);
static_assert(sizeof(Vector4<float>) == 16 && sizeof(Vector4<double>) == 32);

} // namespace zor
