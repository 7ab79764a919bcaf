#pragma once

#include "common/variables/Vector.h"

namespace zor {

class IVariableReader;
class IVariableWriter;
class String;
class VariableReference;

// Vector values as variables of an enclosing object: read and written component by component
// ("x", "y", and "z" for Vector3) through a host reader or writer, and addressed by name.
// Defined for float and double components.

/// The value type's name, built once per process: "Vector2{float}", "Vector3{double}", ...
template <typename Vector>
const String& vectorTypeName();

/// Reads the components in order; false at the first refused read.
template <typename T>
bool readComponents(Vector2<T>& vector, IVariableReader* reader);
template <typename T>
bool readComponents(Vector3<T>& vector, IVariableReader* reader);

/// Writes the components; untyped, they go out as attributes of the enclosing node, in the first
/// pass of a two-pass writer (`skipOwn` true) or at once with a single-pass one.
template <typename T>
bool writeComponents(const Vector2<T>& vector, IVariableWriter* writer, bool skipOwn, bool typedMode,
                     uint64 context);
template <typename T>
bool writeComponents(const Vector3<T>& vector, IVariableWriter* writer, bool skipOwn, bool typedMode,
                     uint64 context);

/// Writes the components in as many passes as the writer takes.
template <typename T>
bool write(const Vector2<T>& vector, IVariableWriter* writer, bool typedMode, uint64 context);
template <typename T>
bool write(const Vector3<T>& vector, IVariableWriter* writer, bool typedMode, uint64 context);

/// The vector as the typed variable `name`.
template <typename T>
bool writeTypedVariable(IVariableWriter* writer, const String& name, const Vector2<T>& vector,
                        uint64 context);
template <typename T>
bool writeTypedVariable(IVariableWriter* writer, const String& name, const Vector3<T>& vector,
                        uint64 context);

/// The vector as the node `name`, its components as the node's attributes.
template <typename T>
bool writeNodeVariable(IVariableWriter* writer, const String& name, const Vector2<T>& vector);
template <typename T>
bool writeNodeVariable(IVariableWriter* writer, const String& name, const Vector3<T>& vector);

/// The component of a Vector2 that `path` names: 0 for "x", 1 for "y", -1 for any other path
/// (a path that goes on after a dot names a member of a component, which has none).
int32 vector2ComponentIndex(const String& path);

/// A new reference to the component named by `path` ("x" or "y"), or null for any other path.
template <typename T>
VariableReference* getVariableReference(Vector2<T>& vector, const String& path);

} // namespace zor
