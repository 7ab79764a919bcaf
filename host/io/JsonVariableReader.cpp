#include "host/io/JsonVariableReader.h"

#include "common/variables/VariableType.h"
#include "host/io/DocumentFailure.h"
#include "host/io/JsonText.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zor::host {

using nlohmann::ordered_json;

JsonVariableReader::JsonVariableReader(const String& fileName) : m_fileName(fileName) {}

void JsonVariableReader::setRoot(const ordered_json& variables, std::string_view pointer,
                                 std::string_view member) {
    m_pointer.assign(pointer);
    if (!member.empty()) {
        m_pointer += '/';
        m_pointer += member;
    }
    m_nodes.clear();
    m_nodes.push_back({&variables, m_pointer.size()});
    m_failed = false;
}

bool JsonVariableReader::refuse(const char* function, const String& name, const char* expected,
                                const ordered_json& value) {
    logDocumentFailure(function, m_fileName, jsonPointerTo(m_pointer, name.c_str()), "expected %s, found %s",
                       expected, describeJson(value).c_str());
    m_failed = true;
    return false;
}

std::string JsonVariableReader::variablePlace(const String& name) const {
    return m_nodes.empty() ? std::string("/") : jsonPointerTo(m_pointer, name.c_str());
}

std::string JsonVariableReader::objectPlace() const {
    if (m_nodes.empty())
        return "/";
    const std::string pointer = m_pointer.substr(0, m_nodes.front().pointerLength);
    const std::size_t slash = pointer.rfind('/');
    return slash == std::string::npos || slash == 0 ? pointer : pointer.substr(0, slash);
}

bool JsonVariableReader::lookUp(const char* function, const String& name, const char* typeName,
                                const ordered_json*& value, bool& typed) {
    value = nullptr;
    typed = false;
    if (m_nodes.empty() || !m_nodes.back().value->is_object())
        return true;
    // An object reads every variable it has by name, most of them absent from the file: the
    // members are compared in place, without making a key of each name.
    const auto& members = m_nodes.back().value->get_ref<const ordered_json::object_t&>();
    const std::string_view key(name.c_str(), name.length());
    const auto it = std::find_if(members.begin(), members.end(),
                                 [&key](const auto& member) { return member.first == key; });
    if (it == members.end())
        return true;
    const ordered_json& member = it->second;
    if (!isTypedJsonValue(member)) {
        value = &member;
        return true;
    }
    const ordered_json& type = member["type"];
    if (typeName != nullptr && type.get_ref<const std::string&>() != typeName) {
        const std::string expected = std::string("a value of type ") + typeName;
        return refuse(function, name, expected.c_str(), type);
    }
    value = &member["value"];
    typed = true;
    return true;
}

bool JsonVariableReader::enterNode(const String& name, bool& found) {
    constexpr const char* kFunction = "zor::host::JsonVariableReader::enterNode";
    const ordered_json* node = nullptr;
    bool typed = false;
    found = false;
    if (!lookUp(kFunction, name, nullptr, node, typed))
        return false;
    if (node == nullptr)
        return true;
    if (!node->is_object())
        return refuse(kFunction, name, "an object", *node);
    appendToJsonPointer(m_pointer, name.c_str());
    if (typed)
        m_pointer += "/value";
    m_nodes.push_back({node, m_pointer.size()});
    found = true;
    return true;
}

void JsonVariableReader::leaveNode() {
    if (m_nodes.size() > 1) {
        m_nodes.pop_back();
        m_pointer.resize(m_nodes.back().pointerLength);
    }
}

bool JsonVariableReader::readBool(const String& name, bool& found, uint8& value, uint64) {
    constexpr const char* kFunction = "zor::host::JsonVariableReader::readBool";
    const ordered_json* member = nullptr;
    bool typed = false;
    found = false;
    if (!lookUp(kFunction, name, getVariableTypeName(VariableTypeBool), member, typed))
        return false;
    if (member == nullptr)
        return true;
    found = true;
    if (!member->is_boolean())
        return refuse(kFunction, name, "true or false", *member);
    value = member->get<bool>() ? 1 : 0;
    return true;
}

bool JsonVariableReader::readEnumeration(const String& name, bool& found, uint8& value,
                                         EnumerationConverter converter) {
    constexpr const char* kFunction = "zor::host::JsonVariableReader::readEnumeration";
    const ordered_json* member = nullptr;
    bool typed = false;
    found = false;
    if (!lookUp(kFunction, name, getVariableTypeName(VariableTypeUInt8), member, typed))
        return false;
    if (member == nullptr)
        return true;
    found = true;
    if (converter == nullptr)
        return refuse(kFunction, name, "an enumeration that has names", *member);
    if (!typed) {
        if (!member->is_string())
            return refuse(kFunction, name, "an enumeration name", *member);
        const std::string& text = member->get_ref<const std::string&>();
        String enumerationName(text.c_str(), text.size());
        uint8 converted = 0;
        if (!converter(enumerationName, converted, true))
            return refuse(kFunction, name, "a name of the enumeration", *member);
        value = converted;
        return true;
    }
    // The typed form keeps the byte value; it must still be one that the enumeration names.
    if (!member->is_number_unsigned() || member->get<uint64>() > 0xFF)
        return refuse(kFunction, name, "a value of the enumeration", *member);
    String enumerationName;
    uint8 converted = static_cast<uint8>(member->get<uint64>());
    if (!converter(enumerationName, converted, false))
        return refuse(kFunction, name, "a value of the enumeration", *member);
    value = converted;
    return true;
}

template <typename Number>
bool JsonVariableReader::readNumber(const char* function, const String& name, bool& found, Number& value,
                                    const char* typeName, const char* expected) {
    const ordered_json* member = nullptr;
    bool typed = false;
    found = false;
    if (!lookUp(function, name, typeName, member, typed))
        return false;
    if (member == nullptr)
        return true;
    found = true;
    if constexpr (std::is_same_v<Number, uint32>) {
        if (!member->is_number_unsigned() || member->get<uint64>() > std::numeric_limits<uint32>::max())
            return refuse(function, name, expected, *member);
        value = static_cast<uint32>(member->get<uint64>());
    } else {
        if (!member->is_number())
            return refuse(function, name, expected, *member);
        // Every finite double lies between two floats or a float and infinity, so the narrowing
        // is defined; what rounds to infinity does not fit.
        const Number number = static_cast<Number>(member->get<double>());
        if (!std::isfinite(number))
            return refuse(function, name, expected, *member);
        value = number;
    }
    return true;
}

bool JsonVariableReader::readUInt32(const String& name, bool& found, uint32& value, uint64) {
    return readNumber("zor::host::JsonVariableReader::readUInt32", name, found, value,
                      getVariableTypeName(VariableTypeUInt32), "a whole number from 0 to 4294967295");
}

bool JsonVariableReader::readFloat(const String& name, bool& found, float& value, uint64) {
    return readNumber("zor::host::JsonVariableReader::readFloat", name, found, value,
                      getVariableTypeName(VariableTypeFloat), "a finite number within the range of a float");
}

bool JsonVariableReader::readDouble(const String& name, bool& found, double& value, uint64) {
    return readNumber("zor::host::JsonVariableReader::readDouble", name, found, value,
                      getVariableTypeName(VariableTypeDouble),
                      "a finite number within the range of a double");
}

bool JsonVariableReader::readString(const String& name, bool& found, String& value, uint64) {
    constexpr const char* kFunction = "zor::host::JsonVariableReader::readString";
    const ordered_json* member = nullptr;
    bool typed = false;
    found = false;
    if (!lookUp(kFunction, name, getVariableTypeName(VariableTypeString), member, typed))
        return false;
    if (member == nullptr)
        return true;
    found = true;
    if (!member->is_string())
        return refuse(kFunction, name, "a string", *member);
    const std::string& text = member->get_ref<const std::string&>();
    value.assign(text.c_str(), text.size());
    return true;
}

} // namespace zor::host
