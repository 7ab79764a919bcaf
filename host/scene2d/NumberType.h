#pragma once

#include "common/containers/String.h"
#include "common/variables/VariableType.h"

#include <type_traits>

namespace zor {

/// The variable type code of a 2D scene's number type: 10 for float, 11 for double.
template <typename T>
inline constexpr int32 kNumberTypeCode = std::is_same_v<T, float> ? VariableTypeFloat : VariableTypeDouble;

/// "float" or "double", the template type name of T's scene objects.
template <typename T>
const String& numberTypeName() {
    static const String name(std::is_same_v<T, float> ? "float" : "double");
    return name;
}

} // namespace zor
