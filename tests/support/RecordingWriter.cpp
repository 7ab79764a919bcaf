#include "support/RecordingWriter.h"

namespace zor::test {

bool RecordingWriter::writeTypedValue(const String& name, uint8 typeCode, const void* value,
                                      const String& typeName) {
    std::string description = "type " + std::to_string(typeCode) + " " + typeName.c_str();
    if (value != nullptr)
        description += " with a value";
    return m_record.record({"writeTypedValue", name.c_str(), description});
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
    RecordedCall call{"writeUInt32", name.c_str(), value != nullptr ? recordedText(*value) : "null",
                      asAttribute, options};
    call.accepted = value != nullptr;
    if (format != 0)
        call.value += " format=" + std::to_string(format);
    return m_record.record(std::move(call));
}

} // namespace zor::test
