#include "support/RecordingWriter.h"

#include <charconv>
#include <type_traits>

namespace zor::test {

namespace {

// Numbers in their shortest text that reads back as exactly the same value.
template <typename Value>
std::string valueText(const Value& value) {
    if constexpr (std::is_same_v<Value, String>) {
        return value.c_str();
    } else {
        char text[64];
        return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
    }
}

} // namespace

template <typename Value>
bool RecordingWriter::recordValue(const char* operation, const String& name, const Value* value,
                                  int asAttribute, uint64 context) {
    RecordedCall call{operation, name.c_str(), value != nullptr ? valueText(*value) : "null", asAttribute,
                      context};
    // A writer cannot store what is not there.
    call.accepted = value != nullptr;
    return m_record.record(std::move(call));
}

bool RecordingWriter::beginTypedValue(const String& typeName) {
    return m_record.record({"beginTypedValue", typeName.c_str()}) && m_componentsWanted;
}

void RecordingWriter::endTypedValue() {
    m_record.record({"endTypedValue"}, false);
}

bool RecordingWriter::writeTypedValue(const String& name, uint8 typeCode, const void* value,
                                      const String& typeName) {
    std::string description = "type " + std::to_string(typeCode) + " " + typeName.c_str();
    if (value != nullptr)
        description += " with a value";
    return m_record.record({"writeTypedValue", name.c_str(), description});
}

bool RecordingWriter::beginNode(const String& name, uint64 options) {
    return m_record.record({"beginNode", name.c_str(), "", -1, options});
}

void RecordingWriter::endNode() {
    m_record.record({"endNode"}, false);
}

bool RecordingWriter::isSinglePass() {
    m_record.record({"isSinglePass"}, false);
    return m_singlePass;
}

// The typed writes record their context; they are no attributes.
#define ZOR_RECORD_TYPED(Operation, Value)                                                                   \
    bool RecordingWriter::Operation(const String& name, const Value* value, uint64 context) {                \
        return recordValue(#Operation, name, value, -1, context);                                            \
    }
ZOR_RECORD_TYPED(writeBoolTyped, uint8)
ZOR_RECORD_TYPED(writeUInt8Typed, uint8)
ZOR_RECORD_TYPED(writeUInt32Typed, uint32)
ZOR_RECORD_TYPED(writeFloatTyped, float)
ZOR_RECORD_TYPED(writeDoubleTyped, double)
ZOR_RECORD_TYPED(writeStringTyped, String)
#undef ZOR_RECORD_TYPED

bool RecordingWriter::writeBool(const String& name, const uint8* value, uint8 asAttribute, uint64 options) {
    return recordValue("writeBool", name, value, asAttribute, options);
}

bool RecordingWriter::writeEnumeration(const String& name, const uint8* value, uint64 options,
                                       uint8 asAttribute, EnumerationConverter converter) {
    // The value goes out by the keyword the converter gives; a code without one cannot be written.
    RecordedCall call{"writeEnumeration", name.c_str(), "null", asAttribute, options};
    call.accepted = false;
    if (value != nullptr) {
        String keyword;
        uint8 code = *value;
        call.accepted = converter != nullptr && converter(keyword, code, false);
        call.value = call.accepted ? keyword.c_str() : "?" + std::to_string(*value);
    }
    return m_record.record(std::move(call));
}

bool RecordingWriter::writeUInt32(const String& name, const uint32* value, uint8 asAttribute, uint64 options,
                                  uint64 format) {
    RecordedCall call{"writeUInt32", name.c_str(), value != nullptr ? valueText(*value) : "null", asAttribute,
                      options};
    call.accepted = value != nullptr;
    if (format != 0)
        call.value += " format=" + std::to_string(format);
    return m_record.record(std::move(call));
}

bool RecordingWriter::writeFloat(const String& name, const float* value, uint8 asAttribute, uint64 options) {
    return recordValue("writeFloat", name, value, asAttribute, options);
}

bool RecordingWriter::writeDouble(const String& name, const double* value, uint8 asAttribute,
                                  uint64 options) {
    return recordValue("writeDouble", name, value, asAttribute, options);
}

bool RecordingWriter::writeString(const String& name, const String* value, uint8 asAttribute,
                                  uint64 options) {
    return recordValue("writeString", name, value, asAttribute, options);
}

} // namespace zor::test
