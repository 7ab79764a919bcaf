#pragma once

#include "common/framework/IVariableWriter.h"
#include "host/core/HostObject.h"
#include "support/RecordedCall.h"

#include <charconv>
#include <type_traits>

namespace zor::test {

/// A value as recorded: numbers in their shortest text that reads back as exactly the same value.
template <typename Value>
std::string recordedText(const Value& value) {
    if constexpr (std::is_same_v<Value, String>) {
        return value.c_str();
    } else {
        char text[64];
        return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
    }
}

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

    bool beginTypedValue(const String& typeName) override {
        return m_record.record({"beginTypedValue", typeName.c_str()}) && m_componentsWanted;
    }
    void endTypedValue() override { m_record.record({"endTypedValue"}, false); }
    bool writeTypedValue(const String& name, uint8 typeCode, const void* value,
                         const String& typeName) override;
    bool beginNode(const String& name, uint64 options) override {
        return m_record.record({"beginNode", name.c_str(), "", -1, options});
    }
    void endNode() override { m_record.record({"endNode"}, false); }
    bool isSinglePass() override {
        m_record.record({"isSinglePass"}, false);
        return m_singlePass;
    }

    // The typed writes record their context (they are no attributes), the untyped ones their
    // attribute flag and options.
#define ZOR_RECORD_TYPED(Operation, Value)                                                                   \
    bool Operation(const String& name, const Value* value, uint64 context) override {                        \
        return recordValue(#Operation, name, value, -1, context);                                            \
    }
#define ZOR_RECORD_UNTYPED(Operation, Value)                                                                 \
    bool Operation(const String& name, const Value* value, uint8 asAttribute, uint64 options) override {     \
        return recordValue(#Operation, name, value, asAttribute, options);                                   \
    }
    ZOR_RECORD_TYPED(writeBoolTyped, uint8)
    ZOR_RECORD_TYPED(writeUInt8Typed, uint8)
    ZOR_RECORD_TYPED(writeUInt32Typed, uint32)
    ZOR_RECORD_TYPED(writeFloatTyped, float)
    ZOR_RECORD_TYPED(writeDoubleTyped, double)
    ZOR_RECORD_TYPED(writeStringTyped, String)
    ZOR_RECORD_UNTYPED(writeBool, uint8)
    ZOR_RECORD_UNTYPED(writeFloat, float)
    ZOR_RECORD_UNTYPED(writeDouble, double)
    ZOR_RECORD_UNTYPED(writeString, String)
#undef ZOR_RECORD_TYPED
#undef ZOR_RECORD_UNTYPED
    bool writeEnumeration(const String& name, const uint8* value, uint64 options, uint8 asAttribute,
                          EnumerationConverter converter) override;
    bool writeUInt32(const String& name, const uint32* value, uint8 asAttribute, uint64 options,
                     uint64 format) override;

private:
    /// Records a write; a writer cannot store what is not there, so a null value is refused.
    template <typename Value>
    bool recordValue(const char* operation, const String& name, const Value* value, int asAttribute,
                     uint64 context) {
        RecordedCall call{operation, name.c_str(), value != nullptr ? recordedText(*value) : "null",
                          asAttribute, context};
        call.accepted = value != nullptr;
        return m_record.record(std::move(call));
    }

    CallRecord m_record;
    bool m_singlePass;
    bool m_componentsWanted = true;
};

} // namespace zor::test
