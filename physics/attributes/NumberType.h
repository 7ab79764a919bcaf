#pragma once

#include "common/containers/String.h"
#include "common/variables/VariableType.h"

namespace zor {

/// The identity of the number type of a template attribute class: its template type name, its
/// variable type code and its size.
template <typename T>
struct NumberType;

template <>
struct NumberType<float> {
    static const String& name() { return String::floatTypeName(); }
    static constexpr int32 kCode = VariableTypeFloat;
};

template <>
struct NumberType<double> {
    static const String& name() { return String::doubleTypeName(); }
    static constexpr int32 kCode = VariableTypeDouble;
};

} // namespace zor
