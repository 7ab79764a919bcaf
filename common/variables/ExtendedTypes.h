#pragma once

#include "common/Types.h"

// Layout values with an anchor (or kind) byte per value. They are exchanged with the host
// byte for byte, so they are packed: no padding anywhere.

namespace zor {

#pragma pack(push, 1)

/// A position along one axis (0: x, 1: y, 2: z) and the anchor it is measured from.
template <typename T, int Axis>
struct ExtPosition {
    T value = 0;
    uint8 anchor = 0;

    bool operator==(const ExtPosition&) const = default;
};

/// An extent along one axis (0: width, 1: height, 2: depth) and the host's kind byte for it.
template <typename T, int Axis>
struct ExtDimension {
    T value = 0;
    uint8 kind = 8;

    bool operator==(const ExtDimension&) const = default;
};

/// A horizontal position.
template <typename T>
using ExtPositionX = ExtPosition<T, 0>;
/// A vertical position.
template <typename T>
using ExtPositionY = ExtPosition<T, 1>;
/// A depth position.
template <typename T>
using ExtPositionZ = ExtPosition<T, 2>;
/// A width.
template <typename T>
using ExtDimensionWidth = ExtDimension<T, 0>;
/// A height.
template <typename T>
using ExtDimensionHeight = ExtDimension<T, 1>;
/// A depth.
template <typename T>
using ExtDimensionDepth = ExtDimension<T, 2>;

/// A 2D position with a horizontal and a vertical anchor (int32_t, int64_t, float, double).
template <typename T>
struct ExtVector2 {
    T x = 0;
    T y = 0;
    uint8 xAnchor = 0;
    uint8 yAnchor = 0;

    bool operator==(const ExtVector2&) const = default;
};

/// A 3D position with an anchor per axis.
template <typename T>
struct ExtVector3 {
    T x = 0;
    T y = 0;
    T z = 0;
    uint8 xAnchor = 0;
    uint8 yAnchor = 0;
    uint8 zAnchor = 0;

    bool operator==(const ExtVector3&) const = default;
};

/// An anchored rectangle with the host's size limits and flags, which this code only copies.
template <typename T>
struct ExtRect {
    T x = 0;
    T y = 0;
    T width = 0;
    T height = 0;
    uint8 xAnchor = 0;
    uint8 yAnchor = 0;
    uint8 widthKind = 0;
    uint8 heightKind = 0;
    T limits[6] = {0, 65536, 0, 65536, 0, 0};
    uint8 flags[2] = {0, 0};

    bool operator==(const ExtRect&) const = default;
};

/// An anchored box with the host's size limits, extra values and flags (copied only).
template <typename T>
struct ExtBox {
    T x = 0;
    T y = 0;
    T z = 0;
    T width = 0;
    T height = 0;
    T depth = 0;
    uint8 xAnchor = 0;
    uint8 yAnchor = 0;
    uint8 zAnchor = 0;
    uint8 widthKind = 0;
    uint8 heightKind = 0;
    uint8 depthKind = 0;
    T limits[6] = {0, 65535, 0, 65535, 0, 65535};
    T extra[3] = {0, 0, 0};
    uint8 flags[3] = {0, 0, 0};

    bool operator==(const ExtBox&) const = default;
};

#pragma pack(pop)

static_assert(sizeof(ExtPositionX<float>) == 5 && sizeof(ExtPositionX<double>) == 9);
static_assert(sizeof(ExtDimensionDepth<float>) == 5 && sizeof(ExtDimensionDepth<double>) == 9);
static_assert(sizeof(ExtVector2<float>) == 10 && sizeof(ExtVector2<double>) == 18);
static_assert(sizeof(ExtVector2<int32>) == 10 && sizeof(ExtVector2<int64>) == 18);
static_assert(sizeof(ExtVector3<float>) == 15 && sizeof(ExtVector3<double>) == 27);
static_assert(sizeof(ExtRect<int32>) == 46 && sizeof(ExtRect<float>) == 46);
static_assert(sizeof(ExtRect<int64>) == 86 && sizeof(ExtRect<double>) == 86);
static_assert(sizeof(ExtBox<float>) == 69 && sizeof(ExtBox<double>) == 129);

} // namespace zor
