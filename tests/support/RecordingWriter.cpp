#include "support/RecordingWriter.h"

namespace zor::test {

namespace {

std::string valueText(uint8 value) {
    return std::to_string(value);
}
std::string valueText(uint32 value) {
    return std::to_string(value);
}
std::string valueText(float value) {
    return exactText(value);
}
std::string valueText(double value) {
    return exactText(value);
}
std::string valueText(const String& value) {
    return value.c_str();
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

bool RecordingWriter::writeBoolTyped(const String& name, const uint8* value, uint64 context) {
    return recordValue("writeBoolTyped", name, value, -1, context);
}

bool RecordingWriter::writeUInt8Typed(const String& name, const uint8* value, uint64 context) {
    return recordValue("writeUInt8Typed", name, value, -1, context);
}

bool RecordingWriter::writeUInt32Typed(const String& name, const uint32* value, uint64 context) {
    return recordValue("writeUInt32Typed", name, value, -1, context);
}

bool RecordingWriter::writeFloatTyped(const String& name, const float* value, uint64 context) {
    return recordValue("writeFloatTyped", name, value, -1, context);
}

bool RecordingWriter::writeDoubleTyped(const String& name, const double* value, uint64 context) {
    return recordValue("writeDoubleTyped", name, value, -1, context);
}

bool RecordingWriter::writeStringTyped(const String& name, const String* value, uint64 context) {
    return recordValue("writeStringTyped", name, value, -1, context);
}

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
