#pragma once

#include "common/Types.h"

namespace zor {

/// A 2D size (int32_t, int64_t, float or double); zero by default.
template <typename T>
struct RectSize {
    T width = 0;
    T height = 0;

    bool operator==(const RectSize&) const = default;
};

/// An axis-aligned rectangle: corner and size; zero by default.
template <typename T>
struct Rect {
    T x = 0;
    T y = 0;
    T width = 0;
    T height = 0;

    bool operator==(const Rect&) const = default;
};

static_assert(sizeof(RectSize<int32>) == 8 && sizeof(RectSize<double>) == 16);
static_assert(sizeof(Rect<int32>) == 16 && sizeof(Rect<int64>) == 32);

} // namespace zor
