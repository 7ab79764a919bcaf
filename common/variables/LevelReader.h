#pragma once

#include "common/framework/EnumerationConverter.h"
#include "common/variables/Vector.h"

namespace zor {

class IObject;
class IVariableReader;
class String;

/// Reads one level of an object's variables from a host reader, one variable per call. Every
/// call returns false when the reader refuses; the caller stops there. A variable that is absent
/// leaves its member as it was (the found flag is not looked at).
class LevelReader {
public:
    explicit LevelReader(IObject* reader);

    /// A bool kept as a byte (0 or 1).
    bool readBool(const String& name, uint8& value) const;
    bool readUInt32(const String& name, uint32& value) const;
    bool readReal(const String& name, float& value) const;
    bool readReal(const String& name, double& value) const;
    bool readString(const String& name, String& value) const;
    /// An enumeration given by name, through `converter`, into the low byte of a 32-bit member.
    bool readEnumeration(const String& name, uint32& value, EnumerationConverter converter) const;
    /// A vector node: its components when the node is present, nothing when it is absent.
    template <typename T>
    bool readVector(const String& name, Vector3<T>& value) const;

private:
    IVariableReader* m_reader;
};

} // namespace zor
