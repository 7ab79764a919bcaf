#pragma once

#include "common/Types.h"

namespace zor {

/// A 3D size (float or double); zero by default.
template <typename T>
struct BoxSize {
    T width = 0;
    T height = 0;
    T depth = 0;

    bool operator==(const BoxSize&) const = default;
};

/// An axis-aligned box: corner and size; zero by default.
template <typename T>
struct Box {
    T x = 0;
    T y = 0;
    T z = 0;
    T width = 0;
    T height = 0;
    T depth = 0;

    bool operator==(const Box&) const = default;
};

static_assert(sizeof(BoxSize<float>) == 12 && sizeof(BoxSize<double>) == 24);
static_assert(sizeof(Box<float>) == 24 && sizeof(Box<double>) == 48);

} // namespace zor
