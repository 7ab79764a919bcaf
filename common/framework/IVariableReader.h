#pragma once

#include "common/ReservedSlots.h"
#include "common/framework/EnumerationConverter.h"
#include "common/object/IObject.h"

namespace zor {

class String;

/// A host reader of named variables: objects load themselves from it by variable name (their
/// read operation, slot 19). Compound values are nodes, entered and left around their members.
/// Every operation that returns bool returns false when the source is malformed or a value has
/// the wrong kind; the caller then stops. A variable that is absent is no failure: `found` says
/// so and the value is left as it was.
class IVariableReader : public IObject {
public:
    ZOR_RESERVED_SLOT(42)
    ZOR_RESERVED_SLOT(43)
    /// Slot 44: enters the named compound value; `found` tells whether it is present.
    virtual bool enterNode(const String& name, bool& found) = 0;
    ZOR_RESERVED_SLOT(45)
    /// Slot 46: leaves the node entered last.
    virtual void leaveNode() = 0;
    ZOR_RESERVED_SLOT(47)
    ZOR_RESERVED_SLOT(48)
    ZOR_RESERVED_SLOT(49)
    ZOR_RESERVED_SLOTS_10(5)
    ZOR_RESERVED_SLOTS_10(6)
    ZOR_RESERVED_SLOT(70)
    ZOR_RESERVED_SLOT(71)
    ZOR_RESERVED_SLOT(72)
    ZOR_RESERVED_SLOT(73)
    ZOR_RESERVED_SLOT(74)
    ZOR_RESERVED_SLOT(75)
    ZOR_RESERVED_SLOT(76)
    /// Slot 77: a bool stored as a byte (0 or 1).
    virtual bool readBool(const String& name, bool& found, uint8& value, uint64 options) = 0;
    ZOR_RESERVED_SLOT(78)
    /// Slot 79: an enumeration given by name in the source, stored as its byte value through
    /// `converter`; a name the converter rejects is a failure.
    virtual bool readEnumeration(const String& name, bool& found, uint8& value,
                                 EnumerationConverter converter) = 0;
    ZOR_RESERVED_SLOT(80)
    ZOR_RESERVED_SLOT(81)
    ZOR_RESERVED_SLOT(82)
    /// Slot 83.
    virtual bool readUInt32(const String& name, bool& found, uint32& value, uint64 options) = 0;
    ZOR_RESERVED_SLOT(84)
    ZOR_RESERVED_SLOT(85)
    /// Slot 86.
    virtual bool readFloat(const String& name, bool& found, float& value, uint64 options) = 0;
    /// Slot 87.
    virtual bool readDouble(const String& name, bool& found, double& value, uint64 options) = 0;
    /// Slot 88.
    virtual bool readString(const String& name, bool& found, String& value, uint64 options) = 0;

protected:
    ~IVariableReader() = default;
};

} // namespace zor
