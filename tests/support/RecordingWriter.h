#pragma once

#include "common/framework/IVariableWriter.h"
#include "host/core/HostObject.h"
#include "support/RecordedCall.h"

namespace zor::test {

/// A host writer that takes every value and records each call with its name, value and flags,
/// in order. It answers isSinglePass as it was made (a two-pass writer by default answers
/// false), takes typed values' components unless told otherwise, and refuses the calls that
/// its record is told to refuse. Created with one owner (the caller), ended by release.
class RecordingWriter : public HostObjectOf<IVariableWriter> {
public:
    enum class Passes { Single, Two };

    explicit RecordingWriter(Passes passes = Passes::Single) : m_singlePass(passes == Passes::Single) {}

    ZOR_DELETING_DESTRUCTOR(RecordingWriter)

    CallRecord& record() { return m_record; }
    std::vector<std::string> lines() const { return m_record.lines(); }
    /// The answer of beginTypedValue when it is not refused: true means the components follow.
    void setTypedValueComponentsWanted(bool wanted) { m_componentsWanted = wanted; }

    bool beginTypedValue(const String& typeName) override;
    void endTypedValue() override;
    bool writeTypedValue(const String& name, uint8 typeCode, const void* value,
                         const String& typeName) override;
    bool beginNode(const String& name, uint64 options) override;
    void endNode() override;
    bool isSinglePass() override;
    bool writeBoolTyped(const String& name, const uint8* value, uint64 context) override;
    bool writeUInt8Typed(const String& name, const uint8* value, uint64 context) override;
    bool writeUInt32Typed(const String& name, const uint32* value, uint64 context) override;
    bool writeFloatTyped(const String& name, const float* value, uint64 context) override;
    bool writeDoubleTyped(const String& name, const double* value, uint64 context) override;
    bool writeStringTyped(const String& name, const String* value, uint64 context) override;
    bool writeBool(const String& name, const uint8* value, uint8 asAttribute, uint64 options) override;
    bool writeEnumeration(const String& name, const uint8* value, uint64 options, uint8 asAttribute,
                          EnumerationConverter converter) override;
    bool writeUInt32(const String& name, const uint32* value, uint8 asAttribute, uint64 options,
                     uint64 format) override;
    bool writeFloat(const String& name, const float* value, uint8 asAttribute, uint64 options) override;
    bool writeDouble(const String& name, const double* value, uint8 asAttribute, uint64 options) override;
    bool writeString(const String& name, const String* value, uint8 asAttribute, uint64 options) override;

private:
    template <typename Value>
    bool recordValue(const char* operation, const String& name, const Value* value, int asAttribute,
                     uint64 context);

    CallRecord m_record;
    bool m_singlePass;
    bool m_componentsWanted = true;
};

} // namespace zor::test
