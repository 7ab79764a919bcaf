#pragma once

#include "common/Types.h"

namespace zor {

/// An RGB colour (float or double components); black by default.
template <typename T>
struct ColorRGB {
    T r = 0;
    T g = 0;
    T b = 0;

    bool operator==(const ColorRGB&) const = default;
};

/// An RGB colour with alpha; all zero by default.
template <typename T>
struct ColorRGBA {
    T r = 0;
    T g = 0;
    T b = 0;
    T a = 0;

    bool operator==(const ColorRGBA&) const = default;
};

static_assert(sizeof(ColorRGB<float>) == 12 && sizeof(ColorRGBA<double>) == 32);

} // namespace zor
