#pragma once

#include "common/Types.h"

namespace zor {

class String;

/// How the 3D engine combines the restitution factors of two colliding bodies.
enum RestitutionCombine : uint32 {
    RestitutionCombineMax = 0,
    RestitutionCombineMultiply = 1,
    RestitutionCombineAverage = 2,
    RestitutionCombineMin = 3,
};

/// The enumeration converter of "restitutionCombine" ("MAX", "MULTIPLY", "AVERAGE",
/// "COMBINE_MIN"): with `toValue` the name's value into `value`, otherwise the value's name into
/// `name`. False for any other name or value.
bool convertRestitutionCombine(String& name, uint8& value, bool toValue);

} // namespace zor
