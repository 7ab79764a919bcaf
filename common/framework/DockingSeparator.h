#pragma once

#include "common/Types.h"

#include <cstddef>

namespace zor {

/// The two top bits of DockingSeparator::packed: a separator takes part only with both set.
inline constexpr uint32 kDockingSeparatorActiveBits = 0xC0000000u;
/// The low bits of DockingSeparator::packed: the index of the separator's position.
inline constexpr uint32 kDockingSeparatorIndexMask = 0x3FFFFFFFu;

#pragma pack(push, 1)
/// One separator of a docking layout, read in place: it runs from `start` over `length` along
/// its direction, at the layout position that the low bits of `packed` select. T is the scene's
/// number type.
template <typename T>
struct DockingSeparator {
    T start;
    T length;
    uint32 packed;
};
#pragma pack(pop)

static_assert(sizeof(DockingSeparator<float>) == 12);
static_assert(sizeof(DockingSeparator<double>) == 20);
static_assert(offsetof(DockingSeparator<double>, packed) == 16);

} // namespace zor
