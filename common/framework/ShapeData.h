#pragma once

#include "common/Types.h"

namespace zor {

/// The shape of a sphere or capsule element, in the element's own coordinates: the radius and,
/// for a capsule, the length of its axis (the local y axis) between the centres of its caps.
template <typename T>
struct ShapeData {
    T radius;
    T height;
};

static_assert(sizeof(ShapeData<float>) == 8 && sizeof(ShapeData<double>) == 16);

} // namespace zor
