#include "host/io/XmlVariableWriter.h"

#include "common/variables/VariableType.h"
#include "host/io/DocumentFailure.h"
#include "host/io/NumberText.h"
#include "host/io/XmlText.h"

#include <cmath>
#include <cstring>
#include <string>

namespace zor::host {

namespace {

constexpr uint8 kTypedValueCode = 254;

pugi::xml_node childElement(pugi::xml_node parent, const char* name) {
    for (pugi::xml_node child = parent.child(name); child; child = child.next_sibling(name))
        if (child.type() == pugi::node_element)
            return child;
    return {};
}

// The XPath of an element ("/objects/object[2]/linearSpeed") for log lines: a position is
// given where siblings share the name.
std::string elementPath(pugi::xml_node element) {
    std::string path;
    for (; element && element.type() == pugi::node_element; element = element.parent()) {
        const char* name = *element.name() != '\0' ? element.name() : "(typed value)";
        std::string step = std::string("/") + name;
        std::size_t position = 0;
        std::size_t count = 0;
        for (pugi::xml_node sibling : element.parent().children(element.name())) {
            ++count;
            if (sibling == element)
                position = count;
        }
        if (count > 1)
            step += "[" + std::to_string(position) + "]";
        path = step + path;
    }
    return path;
}

} // namespace

XmlVariableWriter::XmlVariableWriter(const String& fileName) : m_fileName(fileName) {}

void XmlVariableWriter::setRoot(pugi::xml_node element) {
    m_elements.clear();
    m_elements.push_back({element, Element::Root});
    m_closedTypedValue = {};
    m_failed = false;
}

bool XmlVariableWriter::refuse(const char* function, const String& name, const char* format,
                               const char* detail) {
    std::string place = m_elements.empty() ? std::string("(no object)") : elementPath(m_elements.back().node);
    place += '/';
    place += name.c_str();
    logDocumentFailure(function, m_fileName, place, format, detail);
    m_failed = true;
    return false;
}

bool XmlVariableWriter::put(const char* function, const String& name, const char* text, bool asAttribute,
                            const char* typeName) {
    if (m_elements.empty())
        return refuse(function, name, "%s", "no object is being written");
    if (!isXmlName(name.c_str()))
        return refuse(function, name, "%s", "the name is not one that XML accepts");
    pugi::xml_node current = m_elements.back().node;
    if (asAttribute) {
        if (current.attribute(name.c_str()))
            return refuse(function, name, "%s", "the attribute is written twice");
        current.append_attribute(name.c_str()).set_value(text);
        return true;
    }
    pugi::xml_node element = childElement(current, name.c_str());
    if (element && !(typeName != nullptr && std::strcmp(element.attribute("type").value(), typeName) == 0))
        return refuse(function, name, "%s", "the variable is written twice");
    if (!element) {
        element = current.append_child(name.c_str());
        if (typeName != nullptr)
            element.append_attribute("type").set_value(typeName);
    }
    element.text().set(text);
    return true;
}

template <typename Number>
bool XmlVariableWriter::putNumber(const char* function, const String& name, const Number* value,
                                  bool asAttribute, const char* typeName) {
    if (value == nullptr)
        return refuse(function, name, "%s", "no value is given");
    if (!std::isfinite(*value))
        return refuse(function, name, "%s cannot be written: the files hold finite numbers only",
                      std::isnan(*value) ? "nan" : "an infinite number");
    return put(function, name, numberText(*value).c_str(), asAttribute, typeName);
}

bool XmlVariableWriter::putText(const char* function, const String& name, const String* value,
                                bool asAttribute, const char* typeName) {
    if (value == nullptr)
        return refuse(function, name, "%s", "no value is given");
    if (!isXmlText(value->c_str(), value->length()))
        return refuse(function, name, "%s",
                      "the text is not UTF-8 or holds control characters other than tab and line feed");
    return put(function, name, value->c_str(), asAttribute, typeName);
}

bool XmlVariableWriter::beginTypedValue(const String& typeName) {
    if (m_elements.empty())
        return false;
    // The value is named when it is complete (writeTypedValue).
    pugi::xml_node element = m_elements.back().node.append_child(pugi::node_element);
    element.append_attribute("type").set_value(typeName.c_str());
    m_elements.push_back({element, Element::Typed});
    return true;
}

void XmlVariableWriter::endTypedValue() {
    if (m_elements.empty() || m_elements.back().kind != Element::Typed)
        return;
    m_closedTypedValue = m_elements.back().node;
    m_elements.pop_back();
}

bool XmlVariableWriter::writeTypedValue(const String& name, uint8 typeCode, const void*,
                                        const String& typeName) {
    constexpr const char* kFunction = "zor::host::XmlVariableWriter::writeTypedValue";
    pugi::xml_node value = m_closedTypedValue;
    m_closedTypedValue = {};
    if (typeCode != kTypedValueCode || !value ||
        std::strcmp(value.attribute("type").value(), typeName.c_str()) != 0)
        return refuse(kFunction, name, "no typed value of type %s was closed before", typeName.c_str());
    if (!isXmlName(name.c_str())) {
        value.parent().remove_child(value);
        return refuse(kFunction, name, "%s", "the name is not one that XML accepts");
    }
    pugi::xml_node parent = value.parent();
    pugi::xml_node earlier = childElement(parent, name.c_str());
    if (earlier && std::strcmp(earlier.attribute("type").value(), typeName.c_str()) != 0) {
        parent.remove_child(value);
        return refuse(kFunction, name, "%s", "the variable is written twice");
    }
    if (earlier) {
        // The second pass repeats the typed value: it takes the place of the first.
        parent.insert_move_before(value, earlier);
        parent.remove_child(earlier);
    }
    value.set_name(name.c_str());
    return true;
}

bool XmlVariableWriter::beginNode(const String& name, uint64) {
    constexpr const char* kFunction = "zor::host::XmlVariableWriter::beginNode";
    if (m_elements.empty())
        return refuse(kFunction, name, "%s", "no object is being written");
    if (!isXmlName(name.c_str()))
        return refuse(kFunction, name, "%s", "the name is not one that XML accepts");
    pugi::xml_node current = m_elements.back().node;
    if (childElement(current, name.c_str()))
        return refuse(kFunction, name, "%s", "the node is written twice");
    m_elements.push_back({current.append_child(name.c_str()), Element::Plain});
    return true;
}

void XmlVariableWriter::endNode() {
    if (!m_elements.empty() && m_elements.back().kind == Element::Plain)
        m_elements.pop_back();
}

bool XmlVariableWriter::isSinglePass() {
    return false;
}

bool XmlVariableWriter::writeBoolTyped(const String& name, const uint8* value, uint64) {
    constexpr const char* kFunction = "zor::host::XmlVariableWriter::writeBoolTyped";
    if (value == nullptr)
        return refuse(kFunction, name, "%s", "no value is given");
    return put(kFunction, name, *value != 0 ? "true" : "false", false, getVariableTypeName(VariableTypeBool));
}

bool XmlVariableWriter::writeUInt8Typed(const String& name, const uint8* value, uint64) {
    constexpr const char* kFunction = "zor::host::XmlVariableWriter::writeUInt8Typed";
    if (value == nullptr)
        return refuse(kFunction, name, "%s", "no value is given");
    return put(kFunction, name, numberText(static_cast<uint32>(*value)).c_str(), false,
               getVariableTypeName(VariableTypeUInt8));
}

bool XmlVariableWriter::writeUInt32Typed(const String& name, const uint32* value, uint64) {
    constexpr const char* kFunction = "zor::host::XmlVariableWriter::writeUInt32Typed";
    if (value == nullptr)
        return refuse(kFunction, name, "%s", "no value is given");
    return put(kFunction, name, numberText(*value).c_str(), false, getVariableTypeName(VariableTypeUInt32));
}

bool XmlVariableWriter::writeFloatTyped(const String& name, const float* value, uint64) {
    return putNumber("zor::host::XmlVariableWriter::writeFloatTyped", name, value, false,
                     getVariableTypeName(VariableTypeFloat));
}

bool XmlVariableWriter::writeDoubleTyped(const String& name, const double* value, uint64) {
    return putNumber("zor::host::XmlVariableWriter::writeDoubleTyped", name, value, false,
                     getVariableTypeName(VariableTypeDouble));
}

bool XmlVariableWriter::writeStringTyped(const String& name, const String* value, uint64) {
    return putText("zor::host::XmlVariableWriter::writeStringTyped", name, value, false,
                   getVariableTypeName(VariableTypeString));
}

bool XmlVariableWriter::writeBool(const String& name, const uint8* value, uint8 asAttribute, uint64) {
    constexpr const char* kFunction = "zor::host::XmlVariableWriter::writeBool";
    if (value == nullptr)
        return refuse(kFunction, name, "%s", "no value is given");
    return put(kFunction, name, *value != 0 ? "true" : "false", asAttribute != 0, nullptr);
}

bool XmlVariableWriter::writeEnumeration(const String& name, const uint8* value, uint64, uint8 asAttribute,
                                         EnumerationConverter converter) {
    constexpr const char* kFunction = "zor::host::XmlVariableWriter::writeEnumeration";
    if (value == nullptr || converter == nullptr)
        return refuse(kFunction, name, "%s", "no value or no converter is given");
    String enumerationName;
    uint8 enumerationValue = *value;
    if (!converter(enumerationName, enumerationValue, false))
        return refuse(kFunction, name, "the value %s has no name in its enumeration",
                      numberText(static_cast<uint32>(*value)).c_str());
    return putText(kFunction, name, &enumerationName, asAttribute != 0, nullptr);
}

bool XmlVariableWriter::writeUInt32(const String& name, const uint32* value, uint8 asAttribute, uint64,
                                    uint64) {
    constexpr const char* kFunction = "zor::host::XmlVariableWriter::writeUInt32";
    if (value == nullptr)
        return refuse(kFunction, name, "%s", "no value is given");
    return put(kFunction, name, numberText(*value).c_str(), asAttribute != 0, nullptr);
}

bool XmlVariableWriter::writeFloat(const String& name, const float* value, uint8 asAttribute, uint64) {
    return putNumber("zor::host::XmlVariableWriter::writeFloat", name, value, asAttribute != 0, nullptr);
}

bool XmlVariableWriter::writeDouble(const String& name, const double* value, uint8 asAttribute, uint64) {
    return putNumber("zor::host::XmlVariableWriter::writeDouble", name, value, asAttribute != 0, nullptr);
}

bool XmlVariableWriter::writeString(const String& name, const String* value, uint8 asAttribute, uint64) {
    return putText("zor::host::XmlVariableWriter::writeString", name, value, asAttribute != 0, nullptr);
}

} // namespace zor::host
