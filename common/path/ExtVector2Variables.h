#pragma once

#include "common/variables/ExtendedTypes.h"
#include "common/variables/VectorVariables.h"

// Anchored 2D positions as variables of an enclosing object: the x and y part goes through the
// Vector2 routines, and the anchors follow as enumerations ("xAnchor", "yAnchor") written by
// their keywords. Defined for float and double.

namespace zor {

/// "ExtVector2{float}" and "ExtVector2{double}", built once per process.
template <>
const String& vectorTypeName<ExtVector2<float>>();
template <>
const String& vectorTypeName<ExtVector2<double>>();

/// A new reference to "xAnchor" or "yAnchor" (uint8) or to the component "x" or "y"; null for
/// any other path.
template <typename T>
VariableReference* getComponentReference(ExtVector2<T>& vector, const String& path);

/// Reads x and y, then the anchors; an anchor the reader does not give becomes 0.
template <typename T>
bool readComponents(ExtVector2<T>& vector, IVariableReader* reader);

/// Writes x and y, then the anchors, in the passes of the Vector2 components.
template <typename T>
bool writeComponents(const ExtVector2<T>& vector, IVariableWriter* writer, bool skipOwn, bool typedMode,
                     uint64 context);

/// Writes the components in as many passes as the writer takes.
template <typename T>
bool write(const ExtVector2<T>& vector, IVariableWriter* writer, bool typedMode, uint64 context);

/// The position as the typed variable `name`.
template <typename T>
bool writeTypedVariable(IVariableWriter* writer, const String& name, const ExtVector2<T>& vector,
                        uint64 context);

/// The position as the node `name`, its components and anchors as the node's attributes.
template <typename T>
bool writeNodeVariable(IVariableWriter* writer, const String& name, const ExtVector2<T>& vector);

} // namespace zor
