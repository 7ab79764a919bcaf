#pragma once

#include "common/containers/String.h"
#include "common/framework/IVariableWriter.h"

// The write patterns that every vector-like value shares (Vector2, Vector3, ExtVector2): each
// value type brings its own `writeComponents` overload (found by argument-dependent lookup)
// and its `vectorTypeName`.

namespace zor {

template <typename Vector>
const String& vectorTypeName();

namespace vector_writing {

/// Type code of a typed value whose type is given by its type name.
inline constexpr uint8 kNamedValueType = 254;

/// The components in as many passes as the writer takes: the first with skipOwn set when the
/// writer takes two, the second without.
template <typename Vector>
bool inPasses(const Vector& vector, IVariableWriter* writer, bool typedMode, uint64 context) {
    const bool singlePass = writer->isSinglePass();
    if (!writeComponents(vector, writer, !singlePass, typedMode, context))
        return false;
    if (singlePass)
        return true;
    return writeComponents(vector, writer, false, typedMode, context);
}

/// The vector as a typed value named `name`; only the naming decides the result.
template <typename Vector>
bool asTypedVariable(IVariableWriter* writer, const String& name, const Vector& vector, uint64 context) {
    const String& typeName = vectorTypeName<Vector>();
    if (writer->beginTypedValue(typeName)) {
        inPasses(vector, writer, true, context);
        writer->endTypedValue();
    }
    return writer->writeTypedValue(name, kNamedValueType, nullptr, typeName);
}

/// The vector as the node `name`: its components go out as the node's attributes in the first
/// pass; the node is closed whatever happened inside.
template <typename Vector>
bool asNodeVariable(IVariableWriter* writer, const String& name, const Vector& vector) {
    if (!writer->beginNode(name, 0))
        return false;
    const bool singlePass = writer->isSinglePass();
    bool written = writeComponents(vector, writer, !singlePass, false, 0);
    if (written && !singlePass)
        written = writeComponents(vector, writer, false, false, 0);
    writer->endNode();
    return written;
}

} // namespace vector_writing
} // namespace zor
