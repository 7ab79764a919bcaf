#pragma once

#include "common/ReservedSlots.h"
#include "common/framework/EnumerationConverter.h"
#include "common/object/IObject.h"

namespace zor {

class String;

/// A host writer of named variables: objects store themselves into it by variable name (their
/// write operation, slot 20).
///
/// Two modes. Typed mode (the *Typed operations and the typed values) keeps each variable's type
/// with it. Untyped mode writes nodes and scalars; a scalar written with `asAttribute` 1 belongs
/// to the enclosing node itself (an attribute of an element in XML). A two-pass writer
/// (isSinglePass false) is given every object twice: its attributes in the first pass, its own
/// variables and nodes in the second. Every bool result is false when the writer cannot take
/// the value; the caller then stops.
class IVariableWriter : public IObject {
public:
    ZOR_RESERVED_SLOT(42)
    ZOR_RESERVED_SLOT(43)
    ZOR_RESERVED_SLOT(44)
    ZOR_RESERVED_SLOT(45)
    /// Slot 46: opens a typed value of the named value type ("Vector3{float}"); true when its
    /// components are to follow.
    virtual bool beginTypedValue(const String& typeName) = 0;
    /// Slot 47: closes the typed value opened last.
    virtual void endTypedValue() = 0;
    /// Slot 48: names the typed value just closed as variable `name` (type code 254: a value
    /// type given by `typeName`; `value` is null).
    virtual bool writeTypedValue(const String& name, uint8 typeCode, const void* value,
                                 const String& typeName) = 0;
    /// Slot 49: opens the named node.
    virtual bool beginNode(const String& name, uint64 options) = 0;
    ZOR_RESERVED_SLOT(50)
    /// Slot 51: closes the node opened last.
    virtual void endNode() = 0;
    ZOR_RESERVED_SLOT(52)
    ZOR_RESERVED_SLOT(53)
    ZOR_RESERVED_SLOT(54)
    ZOR_RESERVED_SLOT(55)
    ZOR_RESERVED_SLOT(56)
    ZOR_RESERVED_SLOT(57)
    ZOR_RESERVED_SLOT(58)
    ZOR_RESERVED_SLOT(59)
    ZOR_RESERVED_SLOT(60)
    ZOR_RESERVED_SLOT(61)
    ZOR_RESERVED_SLOT(62)
    ZOR_RESERVED_SLOT(63)
    ZOR_RESERVED_SLOT(64)
    ZOR_RESERVED_SLOT(65)
    ZOR_RESERVED_SLOT(66)
    /// Slot 67: true for a writer that takes every object once, false for a two-pass writer.
    virtual bool isSinglePass() = 0;
    ZOR_RESERVED_SLOT(68)
    ZOR_RESERVED_SLOT(69)
    ZOR_RESERVED_SLOTS_10(7)
    ZOR_RESERVED_SLOT(80)
    ZOR_RESERVED_SLOT(81)
    ZOR_RESERVED_SLOT(82)
    ZOR_RESERVED_SLOT(83)
    ZOR_RESERVED_SLOT(84)
    ZOR_RESERVED_SLOT(85)
    /// Slot 86.
    virtual bool writeBoolTyped(const String& name, const uint8* value, uint64 context) = 0;
    ZOR_RESERVED_SLOT(87)
    /// Slot 88.
    virtual bool writeUInt8Typed(const String& name, const uint8* value, uint64 context) = 0;
    ZOR_RESERVED_SLOT(89)
    ZOR_RESERVED_SLOT(90)
    ZOR_RESERVED_SLOT(91)
    /// Slot 92.
    virtual bool writeUInt32Typed(const String& name, const uint32* value, uint64 context) = 0;
    ZOR_RESERVED_SLOT(93)
    ZOR_RESERVED_SLOT(94)
    /// Slot 95.
    virtual bool writeFloatTyped(const String& name, const float* value, uint64 context) = 0;
    /// Slot 96.
    virtual bool writeDoubleTyped(const String& name, const double* value, uint64 context) = 0;
    /// Slot 97.
    virtual bool writeStringTyped(const String& name, const String* value, uint64 context) = 0;
    ZOR_RESERVED_SLOT(98)
    ZOR_RESERVED_SLOT(99)
    ZOR_RESERVED_SLOTS_10(10)
    ZOR_RESERVED_SLOTS_10(11)
    ZOR_RESERVED_SLOT(120)
    ZOR_RESERVED_SLOT(121)
    /// Slot 122: a bool stored as a byte (0 or 1).
    virtual bool writeBool(const String& name, const uint8* value, uint8 asAttribute, uint64 options) = 0;
    ZOR_RESERVED_SLOT(123)
    /// Slot 124: an enumeration written by the name `converter` gives for the value (the flag
    /// follows the options word here, unlike the other untyped writes).
    virtual bool writeEnumeration(const String& name, const uint8* value, uint64 options, uint8 asAttribute,
                                  EnumerationConverter converter) = 0;
    ZOR_RESERVED_SLOT(125)
    ZOR_RESERVED_SLOT(126)
    ZOR_RESERVED_SLOT(127)
    /// Slot 128.
    virtual bool writeUInt32(const String& name, const uint32* value, uint8 asAttribute, uint64 options,
                             uint64 format) = 0;
    ZOR_RESERVED_SLOT(129)
    ZOR_RESERVED_SLOT(130)
    /// Slot 131.
    virtual bool writeFloat(const String& name, const float* value, uint8 asAttribute, uint64 options) = 0;
    /// Slot 132.
    virtual bool writeDouble(const String& name, const double* value, uint8 asAttribute, uint64 options) = 0;
    /// Slot 133.
    virtual bool writeString(const String& name, const String* value, uint8 asAttribute, uint64 options) = 0;

protected:
    ~IVariableWriter() = default;
};

} // namespace zor
