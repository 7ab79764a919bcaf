#pragma once

#include "common/containers/String.h"
#include "common/framework/IVariableWriter.h"
#include "host/core/HostObject.h"

#include <pugixml.hpp>

#include <vector>

namespace zor::host {

/// Writes an object's variables into an XML element. A two-pass writer: every object is given
/// twice, first its attributes (the scalars written with `asAttribute` 1, such as a vector's
/// components), then its variables and nodes as child elements, so each vector becomes
/// <linearSpeed x=".." y=".." z=".."/>. Typed mode writes each value with its type,
/// <mass type="float">1.5</mass>; typed values come in both passes, and the second replaces the
/// first. Floats and doubles are written so that reading them back gives the same bits;
/// non-finite numbers, text that XML cannot carry and names given twice are refused with one
/// log line.
class XmlVariableWriter : public HostObjectOf<IVariableWriter> {
public:
    ZOR_BLOCK_ALLOCATED

    /// A writer of the document `fileName` (the name its log lines carry).
    explicit XmlVariableWriter(const String& fileName);

    ZOR_DELETING_DESTRUCTOR(XmlVariableWriter)

    /// Writes into `element` from now on.
    void setRoot(pugi::xml_node element);
    /// True once a write was refused since the last setRoot (its log line is written).
    bool hasFailed() const { return m_failed; }

    bool beginTypedValue(const String& typeName) override;
    void endTypedValue() override;
    bool writeTypedValue(const String& name, uint8 typeCode, const void* value,
                         const String& typeName) override;
    bool beginNode(const String& name, uint64 options) override;
    void endNode() override;
    /// False.
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

protected:
    ~XmlVariableWriter() = default;

private:
    struct Element {
        pugi::xml_node node;
        // The root, a node or a typed value: each end operation closes only its own kind.
        enum Kind { Root, Plain, Typed } kind;
    };

    // Writes `text` as the attribute or child element `name` of the current element, a typed
    // one (replacing an earlier one of the same name) when `typeName` is given.
    bool put(const char* function, const String& name, const char* text, bool asAttribute,
             const char* typeName);
    bool refuse(const char* function, const String& name, const char* format, const char* detail);
    template <typename Number>
    bool putNumber(const char* function, const String& name, const Number* value, bool asAttribute,
                   const char* typeName);
    bool putText(const char* function, const String& name, const String* value, bool asAttribute,
                 const char* typeName);

    String m_fileName;
    std::vector<Element> m_elements;
    pugi::xml_node m_closedTypedValue;
    bool m_failed = false;
};

} // namespace zor::host
