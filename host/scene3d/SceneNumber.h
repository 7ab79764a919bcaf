#pragma once

#include "common/containers/String.h"
#include "common/variables/VariableType.h"

namespace zor {

/// The variable type code and template type name of a host scene's number type.
template <typename T>
struct SceneNumber;

template <>
struct SceneNumber<float> {
    static constexpr int32 kCode = VariableTypeFloat;
    static const String& name() { return String::floatTypeName(); }
};

template <>
struct SceneNumber<double> {
    static constexpr int32 kCode = VariableTypeDouble;
    static const String& name() { return String::doubleTypeName(); }
};

/// A host scene type's qualified name, "`base`{float}" or "`base`{double}".
template <typename T>
String sceneTypeName(const char* base) {
    return String(base) + String("{") + SceneNumber<T>::name() + String("}");
}

} // namespace zor
