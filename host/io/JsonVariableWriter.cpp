#include "host/io/JsonVariableWriter.h"

#include "common/variables/VariableType.h"
#include "host/io/DocumentFailure.h"
#include "host/io/JsonText.h"
#include "host/io/NumberText.h"
#include "host/io/Utf8Check.h"

#include <cmath>

namespace zor::host {

using nlohmann::ordered_json;

namespace {

constexpr uint8 kTypedValueCode = 254;

std::string key(const String& name) {
    return std::string(name.c_str(), name.length());
}

} // namespace

JsonVariableWriter::JsonVariableWriter(const String& fileName) : m_fileName(fileName) {}

void JsonVariableWriter::setRoot(ordered_json& variables, const std::string& pointer) {
    m_nodes.clear();
    m_nodes.push_back({&variables, pointer, Node::Root});
    m_typedValues.clear();
    m_hasClosedTypedValue = false;
    m_failed = false;
}

bool JsonVariableWriter::refuse(const char* function, const String& name, const char* format,
                                const char* detail) {
    const std::string place =
        m_nodes.empty() ? std::string("(no object)") : jsonPointerTo(m_nodes.back().pointer, key(name));
    logDocumentFailure(function, m_fileName, place, format, detail);
    m_failed = true;
    return false;
}

bool JsonVariableWriter::add(const char* function, const String& name, ordered_json value,
                             const char* typeName) {
    if (m_nodes.empty())
        return refuse(function, name, "%s", "no object is being written");
    ordered_json& node = *m_nodes.back().value;
    std::string memberName = key(name);
    if (node.contains(memberName))
        return refuse(function, name, "%s", "the variable is written twice");
    if (typeName != nullptr)
        node.emplace(std::move(memberName), ordered_json{{"type", typeName}, {"value", std::move(value)}});
    else
        node.emplace(std::move(memberName), std::move(value));
    return true;
}

template <typename Number>
bool JsonVariableWriter::number(const char* function, const String& name, const Number* value,
                                ordered_json& out) {
    if (value == nullptr)
        return refuse(function, name, "%s", "no value is given");
    if (!std::isfinite(*value))
        return refuse(function, name, "%s cannot be written: the files hold finite numbers only",
                      std::isnan(*value) ? "nan" : "an infinite number");
    if constexpr (std::is_same_v<Number, float>)
        out = jsonDoubleForFloat(*value);
    else
        out = *value;
    return true;
}

bool JsonVariableWriter::beginTypedValue(const String& typeName) {
    m_typedValues.push_back(ordered_json{{"type", key(typeName)}, {"value", ordered_json::object()}});
    std::string pointer = m_nodes.empty() ? std::string() : m_nodes.back().pointer;
    pointer += "/(" + key(typeName) + ")";
    m_nodes.push_back({&m_typedValues.back()["value"], pointer, Node::Typed});
    return true;
}

void JsonVariableWriter::endTypedValue() {
    if (m_nodes.empty() || m_nodes.back().kind != Node::Typed)
        return;
    m_nodes.pop_back();
    m_closedTypedValue = std::move(m_typedValues.back());
    m_typedValues.pop_back();
    m_hasClosedTypedValue = true;
}

bool JsonVariableWriter::writeTypedValue(const String& name, uint8 typeCode, const void*,
                                         const String& typeName) {
    constexpr const char* kFunction = "zor::host::JsonVariableWriter::writeTypedValue";
    if (typeCode != kTypedValueCode || !m_hasClosedTypedValue || m_closedTypedValue["type"] != key(typeName))
        return refuse(kFunction, name, "no typed value of type %s was closed before", typeName.c_str());
    m_hasClosedTypedValue = false;
    ordered_json value = std::move(m_closedTypedValue["value"]);
    return add(kFunction, name, std::move(value), typeName.c_str());
}

bool JsonVariableWriter::beginNode(const String& name, uint64) {
    if (!add("zor::host::JsonVariableWriter::beginNode", name, ordered_json::object(), nullptr))
        return false;
    ordered_json& parent = *m_nodes.back().value;
    std::string pointer = jsonPointerTo(m_nodes.back().pointer, key(name));
    m_nodes.push_back({&parent.back(), std::move(pointer), Node::Plain});
    return true;
}

void JsonVariableWriter::endNode() {
    if (!m_nodes.empty() && m_nodes.back().kind == Node::Plain)
        m_nodes.pop_back();
}

bool JsonVariableWriter::isSinglePass() {
    return true;
}

bool JsonVariableWriter::writeBoolTyped(const String& name, const uint8* value, uint64) {
    constexpr const char* kFunction = "zor::host::JsonVariableWriter::writeBoolTyped";
    if (value == nullptr)
        return refuse(kFunction, name, "%s", "no value is given");
    return add(kFunction, name, *value != 0, getVariableTypeName(VariableTypeBool));
}

bool JsonVariableWriter::writeUInt8Typed(const String& name, const uint8* value, uint64) {
    constexpr const char* kFunction = "zor::host::JsonVariableWriter::writeUInt8Typed";
    if (value == nullptr)
        return refuse(kFunction, name, "%s", "no value is given");
    return add(kFunction, name, *value, getVariableTypeName(VariableTypeUInt8));
}

bool JsonVariableWriter::writeUInt32Typed(const String& name, const uint32* value, uint64) {
    constexpr const char* kFunction = "zor::host::JsonVariableWriter::writeUInt32Typed";
    if (value == nullptr)
        return refuse(kFunction, name, "%s", "no value is given");
    return add(kFunction, name, *value, getVariableTypeName(VariableTypeUInt32));
}

bool JsonVariableWriter::writeFloatTyped(const String& name, const float* value, uint64) {
    constexpr const char* kFunction = "zor::host::JsonVariableWriter::writeFloatTyped";
    ordered_json out;
    return number(kFunction, name, value, out) &&
           add(kFunction, name, std::move(out), getVariableTypeName(VariableTypeFloat));
}

bool JsonVariableWriter::writeDoubleTyped(const String& name, const double* value, uint64) {
    constexpr const char* kFunction = "zor::host::JsonVariableWriter::writeDoubleTyped";
    ordered_json out;
    return number(kFunction, name, value, out) &&
           add(kFunction, name, std::move(out), getVariableTypeName(VariableTypeDouble));
}

bool JsonVariableWriter::writeStringTyped(const String& name, const String* value, uint64) {
    constexpr const char* kFunction = "zor::host::JsonVariableWriter::writeStringTyped";
    if (value == nullptr)
        return refuse(kFunction, name, "%s", "no value is given");
    if (!isValidUtf8(value->c_str(), value->length()))
        return refuse(kFunction, name, "%s", "the text is not UTF-8");
    return add(kFunction, name, std::string(value->c_str(), value->length()),
               getVariableTypeName(VariableTypeString));
}

bool JsonVariableWriter::writeBool(const String& name, const uint8* value, uint8, uint64) {
    constexpr const char* kFunction = "zor::host::JsonVariableWriter::writeBool";
    if (value == nullptr)
        return refuse(kFunction, name, "%s", "no value is given");
    return add(kFunction, name, *value != 0, nullptr);
}

bool JsonVariableWriter::writeEnumeration(const String& name, const uint8* value, uint64, uint8,
                                          EnumerationConverter converter) {
    constexpr const char* kFunction = "zor::host::JsonVariableWriter::writeEnumeration";
    if (value == nullptr || converter == nullptr)
        return refuse(kFunction, name, "%s", "no value or no converter is given");
    String enumerationName;
    uint8 enumerationValue = *value;
    if (!converter(enumerationName, enumerationValue, false))
        return refuse(kFunction, name, "the value %s has no name in its enumeration",
                      numberText(static_cast<uint32>(*value)).c_str());
    return add(kFunction, name, key(enumerationName), nullptr);
}

bool JsonVariableWriter::writeUInt32(const String& name, const uint32* value, uint8, uint64, uint64) {
    constexpr const char* kFunction = "zor::host::JsonVariableWriter::writeUInt32";
    if (value == nullptr)
        return refuse(kFunction, name, "%s", "no value is given");
    return add(kFunction, name, *value, nullptr);
}

bool JsonVariableWriter::writeFloat(const String& name, const float* value, uint8, uint64) {
    constexpr const char* kFunction = "zor::host::JsonVariableWriter::writeFloat";
    ordered_json out;
    return number(kFunction, name, value, out) && add(kFunction, name, std::move(out), nullptr);
}

bool JsonVariableWriter::writeDouble(const String& name, const double* value, uint8, uint64) {
    constexpr const char* kFunction = "zor::host::JsonVariableWriter::writeDouble";
    ordered_json out;
    return number(kFunction, name, value, out) && add(kFunction, name, std::move(out), nullptr);
}

bool JsonVariableWriter::writeString(const String& name, const String* value, uint8, uint64) {
    constexpr const char* kFunction = "zor::host::JsonVariableWriter::writeString";
    if (value == nullptr)
        return refuse(kFunction, name, "%s", "no value is given");
    if (!isValidUtf8(value->c_str(), value->length()))
        return refuse(kFunction, name, "%s", "the text is not UTF-8");
    return add(kFunction, name, std::string(value->c_str(), value->length()), nullptr);
}

} // namespace zor::host
