#pragma once

#include "common/containers/String.h"
#include "common/framework/IVariableReader.h"
#include "host/core/HostObject.h"
#include "host/io/VariablePlace.h"

#include <pugixml.hpp>

#include <string>
#include <string_view>
#include <vector>

namespace zor::host {

/// Reads an object's variables from an XML element: a variable is an attribute of the element
/// or a child element holding text, a node a child element. A typed value
/// (<mass type="float">1.5</mass>) is read as its text once its type matches. Every refusal
/// leaves one log line naming the file, the line and column and what was expected.
class XmlVariableReader : public HostObjectOf<IVariableReader>, public VariablePlaces {
public:
    ZOR_BLOCK_ALLOCATED

    /// A reader of the document `fileName`, whose text (kept by the caller while reading) gives
    /// the line numbers.
    XmlVariableReader(const String& fileName, std::string_view text);

    ZOR_DELETING_DESTRUCTOR(XmlVariableReader)

    /// Reads from `element` from now on.
    void setRoot(pugi::xml_node element);
    /// True once a read was refused since the last setRoot (its log line is written).
    bool hasFailed() const { return m_failed; }
    const String& documentName() const override { return m_fileName; }
    /// "line L, column C: <name>" of the variable's element, or of the current element with
    /// "attribute name of <element>" when it is an attribute or absent.
    std::string variablePlace(const String& name) const override;
    /// "line L, column C: <object>" of the element whose variables are read.
    std::string objectPlace() const override;

    bool enterNode(const String& name, bool& found) override;
    void leaveNode() override;
    bool readBool(const String& name, bool& found, uint8& value, uint64 options) override;
    bool readEnumeration(const String& name, bool& found, uint8& value,
                         EnumerationConverter converter) override;
    bool readUInt32(const String& name, bool& found, uint32& value, uint64 options) override;
    bool readFloat(const String& name, bool& found, float& value, uint64 options) override;
    bool readDouble(const String& name, bool& found, double& value, uint64 options) override;
    bool readString(const String& name, bool& found, String& value, uint64 options) override;

protected:
    ~XmlVariableReader() = default;

private:
    // Where a scalar was found: its text, and the element that holds it (as an attribute when
    // `attribute` is set).
    struct Value {
        const char* text = nullptr;
        pugi::xml_node element;
        bool attribute = false;
        bool typed = false;
    };

    // Finds the variable `name` of the current element; `value.text` stays null when it is
    // absent. False, after logging, when it is given twice, holds elements instead of text, or
    // is typed with another type than `typeName`.
    bool lookUp(const char* function, const String& name, const char* typeName, Value& value);
    // The child element `name` of the current element, or null.
    pugi::xml_node findChild(const char* name);
    bool refuse(const char* function, const String& name, const Value& value, const char* expected);
    template <typename Number>
    bool readNumber(const char* function, const String& name, bool& found, Number& value,
                    const char* typeName, const char* expected);

    String m_fileName;
    std::string_view m_text;
    struct Level {
        pugi::xml_node element;
        // Objects read their variables in the order they wrote them, so the search for the next
        // one starts after the child found last.
        pugi::xml_node searchFrom;
    };
    std::vector<Level> m_elements;
    bool m_failed = false;
};

} // namespace zor::host
