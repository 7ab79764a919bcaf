#pragma once

#include "common/framework/EnumerationConverter.h"
#include "common/variables/Vector.h"

namespace zor {

class IAttributeReserved;
class IObject;
class IVariableWriter;
class String;

/// Writes one level of an object's own variables to a host writer, one variable per call, in
/// typed mode with the writer's typed operations (context passed through) and otherwise with
/// the untyped ones as elements of the enclosing node (never as its attributes). Every call
/// returns false when the writer refuses; the caller stops there.
///
/// A two-pass writer takes an object's attributes in the first pass and its own variables in
/// the second: `takesOwnVariables` is false in an untyped first pass, and the level then writes
/// nothing of its own.
class LevelWriter {
public:
    LevelWriter(IObject* writer, uint8 skipOwn, uint8 typedMode, uint64 context);

    /// Writes an attribute's levels, `level` being the top one: once to a single-pass writer; to
    /// a two-pass writer first without and then with the levels' own variables. The result is
    /// that of the last pass made.
    static bool writeLevels(IAttributeReserved* level, IObject* writer, uint8 typedMode, uint64 context);

    /// False when this pass leaves the level's own variables out (which is no failure).
    bool takesOwnVariables() const;

    /// A bool kept as a byte (0 or 1).
    bool writeBool(const String& name, const uint8& value) const;
    bool writeUInt32(const String& name, const uint32& value) const;
    bool writeReal(const String& name, const float& value) const;
    bool writeReal(const String& name, const double& value) const;
    bool writeString(const String& name, const String& value) const;
    /// An enumeration kept in the low byte of a 32-bit member: its byte typed, its name through
    /// `converter` untyped.
    bool writeEnumeration(const String& name, const uint32& value, EnumerationConverter converter) const;
    /// A vector: a typed value, or a node whose components are its attributes.
    template <typename T>
    bool writeVector(const String& name, const Vector3<T>& value) const;

private:
    IVariableWriter* m_writer;
    uint8 m_skipOwn;
    uint8 m_typedMode;
    uint64 m_context;
};

} // namespace zor
