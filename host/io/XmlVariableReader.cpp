#include "host/io/XmlVariableReader.h"

#include "common/variables/VariableType.h"
#include "host/io/DocumentFailure.h"
#include "host/io/NumberText.h"
#include "host/io/XmlText.h"

#include <cstring>

namespace zor::host {

namespace {

bool isElementNamed(pugi::xml_node node, const char* name) {
    return node.type() == pugi::node_element && std::strcmp(node.name(), name) == 0;
}

bool hasChildElements(pugi::xml_node element) {
    for (pugi::xml_node child : element.children())
        if (child.type() == pugi::node_element)
            return true;
    return false;
}

} // namespace

XmlVariableReader::XmlVariableReader(const String& fileName, std::string_view text)
    : m_fileName(fileName), m_text(text) {}

void XmlVariableReader::setRoot(pugi::xml_node element) {
    m_elements.clear();
    m_elements.push_back({element, element.first_child()});
    m_failed = false;
}

pugi::xml_node XmlVariableReader::findChild(const char* name) {
    Level& level = m_elements.back();
    for (pugi::xml_node child = level.searchFrom; child; child = child.next_sibling()) {
        if (isElementNamed(child, name)) {
            level.searchFrom = child.next_sibling();
            return child;
        }
    }
    for (pugi::xml_node child = level.element.first_child(); child != level.searchFrom;
         child = child.next_sibling()) {
        if (isElementNamed(child, name)) {
            level.searchFrom = child.next_sibling();
            return child;
        }
    }
    return {};
}

std::string XmlVariableReader::variablePlace(const String& name) const {
    if (m_elements.empty())
        return "the document";
    const pugi::xml_node current = m_elements.back().element;
    for (pugi::xml_node child : current.children())
        if (isElementNamed(child, name.c_str()))
            return xmlPlace(m_text, child) + ": <" + name.c_str() + ">";
    return xmlPlace(m_text, current) + ": attribute " + name.c_str() + " of <" + current.name() + ">";
}

std::string XmlVariableReader::objectPlace() const {
    if (m_elements.empty())
        return "the document";
    const pugi::xml_node element = m_elements.front().element;
    return xmlPlace(m_text, element) + ": <" + element.name() + ">";
}

bool XmlVariableReader::refuse(const char* function, const String& name, const Value& value,
                               const char* expected) {
    const std::string place = xmlPlace(m_text, value.element);
    const std::string found =
        value.text != nullptr ? quotedXmlText(value.text) : std::string("child elements");
    if (value.attribute)
        logDocumentFailure(function, m_fileName, place, "attribute %s of <%s>: expected %s, found %s",
                           name.c_str(), value.element.name(), expected, found.c_str());
    else
        logDocumentFailure(function, m_fileName, place, "<%s>: expected %s, found %s", name.c_str(), expected,
                           found.c_str());
    m_failed = true;
    return false;
}

bool XmlVariableReader::lookUp(const char* function, const String& name, const char* typeName, Value& value) {
    value = Value{};
    if (m_elements.empty())
        return true;
    pugi::xml_node current = m_elements.back().element;
    const pugi::xml_attribute attribute = current.attribute(name.c_str());
    const pugi::xml_node element = findChild(name.c_str());
    if (attribute && element) {
        value = {attribute.value(), current, true, false};
        return refuse(function, name, value, "one value, not an attribute and an element of that name");
    }
    if (attribute) {
        value = {attribute.value(), current, true, false};
        return true;
    }
    if (!element)
        return true;
    const pugi::xml_attribute type = element.attribute("type");
    value = {nullptr, element, false, bool(type)};
    if (hasChildElements(element))
        return refuse(function, name, value, "text");
    value.text = element.child_value();
    if (type && typeName != nullptr && std::strcmp(type.value(), typeName) != 0) {
        const std::string expected = std::string("a value of type ") + typeName;
        value.text = type.value();
        return refuse(function, name, value, expected.c_str());
    }
    return true;
}

bool XmlVariableReader::enterNode(const String& name, bool& found) {
    found = false;
    if (m_elements.empty())
        return true;
    pugi::xml_node current = m_elements.back().element;
    const pugi::xml_node element = findChild(name.c_str());
    if (!element) {
        const pugi::xml_attribute attribute = current.attribute(name.c_str());
        if (attribute)
            return refuse("zor::host::XmlVariableReader::enterNode", name,
                          {attribute.value(), current, true, false}, "an element");
        return true;
    }
    m_elements.push_back({element, element.first_child()});
    found = true;
    return true;
}

void XmlVariableReader::leaveNode() {
    if (m_elements.size() > 1)
        m_elements.pop_back();
}

bool XmlVariableReader::readBool(const String& name, bool& found, uint8& value, uint64) {
    constexpr const char* kFunction = "zor::host::XmlVariableReader::readBool";
    Value text;
    found = false;
    if (!lookUp(kFunction, name, getVariableTypeName(VariableTypeBool), text))
        return false;
    if (text.text == nullptr)
        return true;
    found = true;
    if (std::strcmp(text.text, "true") == 0)
        value = 1;
    else if (std::strcmp(text.text, "false") == 0)
        value = 0;
    else
        return refuse(kFunction, name, text, "true or false");
    return true;
}

bool XmlVariableReader::readEnumeration(const String& name, bool& found, uint8& value,
                                        EnumerationConverter converter) {
    constexpr const char* kFunction = "zor::host::XmlVariableReader::readEnumeration";
    Value text;
    found = false;
    if (!lookUp(kFunction, name, getVariableTypeName(VariableTypeUInt8), text))
        return false;
    if (text.text == nullptr)
        return true;
    found = true;
    if (converter == nullptr)
        return refuse(kFunction, name, text, "an enumeration that has names");
    String enumerationName;
    uint8 converted = 0;
    if (!text.typed) {
        enumerationName = String(text.text);
        if (!converter(enumerationName, converted, true))
            return refuse(kFunction, name, text, "a name of the enumeration");
    } else {
        // The typed form keeps the byte value; it must still be one that the enumeration names.
        uint32 number = 0;
        if (parseNumber(text.text, number) != NumberParse::Ok || number > 0xFF)
            return refuse(kFunction, name, text, "a value of the enumeration");
        converted = static_cast<uint8>(number);
        if (!converter(enumerationName, converted, false))
            return refuse(kFunction, name, text, "a value of the enumeration");
    }
    value = converted;
    return true;
}

template <typename Number>
bool XmlVariableReader::readNumber(const char* function, const String& name, bool& found, Number& value,
                                   const char* typeName, const char* expected) {
    Value text;
    found = false;
    if (!lookUp(function, name, typeName, text))
        return false;
    if (text.text == nullptr)
        return true;
    found = true;
    Number number{};
    if (parseNumber(text.text, number) != NumberParse::Ok)
        return refuse(function, name, text, expected);
    value = number;
    return true;
}

bool XmlVariableReader::readUInt32(const String& name, bool& found, uint32& value, uint64) {
    return readNumber("zor::host::XmlVariableReader::readUInt32", name, found, value,
                      getVariableTypeName(VariableTypeUInt32), "a whole number from 0 to 4294967295");
}

bool XmlVariableReader::readFloat(const String& name, bool& found, float& value, uint64) {
    return readNumber("zor::host::XmlVariableReader::readFloat", name, found, value,
                      getVariableTypeName(VariableTypeFloat), "a finite number within the range of a float");
}

bool XmlVariableReader::readDouble(const String& name, bool& found, double& value, uint64) {
    return readNumber("zor::host::XmlVariableReader::readDouble", name, found, value,
                      getVariableTypeName(VariableTypeDouble),
                      "a finite number within the range of a double");
}

bool XmlVariableReader::readString(const String& name, bool& found, String& value, uint64) {
    Value text;
    found = false;
    if (!lookUp("zor::host::XmlVariableReader::readString", name, getVariableTypeName(VariableTypeString),
                text))
        return false;
    if (text.text == nullptr)
        return true;
    found = true;
    value = String(text.text);
    return true;
}

} // namespace zor::host
