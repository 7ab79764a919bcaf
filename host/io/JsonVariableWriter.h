#pragma once

#include "common/containers/String.h"
#include "common/framework/IVariableWriter.h"
#include "host/core/HostObject.h"

#include <nlohmann/json.hpp>

#include <deque>
#include <string>
#include <vector>

namespace zor::host {

/// Writes an object's variables into a JSON object, in the order they come: a variable becomes
/// a member, a node a member holding an object. JSON has no attributes, so `asAttribute` only
/// marks the components of a node and changes nothing. Typed mode writes each value with its
/// type, {"type": "float", "value": 1.5}. A single-pass writer: every object is written once.
/// Floats and doubles are written so that reading them back gives the same bits; non-finite
/// numbers and names given twice are refused with one log line.
class JsonVariableWriter : public HostObjectOf<IVariableWriter> {
public:
    ZOR_BLOCK_ALLOCATED

    /// A writer of the document `fileName` (the name its log lines carry).
    explicit JsonVariableWriter(const String& fileName);

    ZOR_DELETING_DESTRUCTOR(JsonVariableWriter)

    /// Writes into `variables` (an object that outlives the writing) from now on; `pointer` is
    /// its JSON pointer.
    void setRoot(nlohmann::ordered_json& variables, const std::string& pointer);
    /// True once a write was refused since the last setRoot (its log line is written).
    bool hasFailed() const { return m_failed; }

    bool beginTypedValue(const String& typeName) override;
    void endTypedValue() override;
    bool writeTypedValue(const String& name, uint8 typeCode, const void* value,
                         const String& typeName) override;
    bool beginNode(const String& name, uint64 options) override;
    void endNode() override;
    /// True.
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
    ~JsonVariableWriter() = default;

private:
    struct Node {
        nlohmann::ordered_json* value;
        std::string pointer;
        // The root, a node or a typed value: each end operation closes only its own kind.
        enum Kind { Root, Plain, Typed } kind;
    };

    // Adds the member `name` to the current node, wrapped with its type in typed mode; false,
    // after logging, when the current node has it already.
    bool add(const char* function, const String& name, nlohmann::ordered_json value, const char* typeName);
    bool refuse(const char* function, const String& name, const char* format, const char* detail);
    // The JSON number of a float or double; false, after logging, when it is not finite.
    template <typename Number>
    bool number(const char* function, const String& name, const Number* value, nlohmann::ordered_json& out);

    String m_fileName;
    std::vector<Node> m_nodes;
    // Typed values under construction, and the one closed last, which writeTypedValue names.
    std::deque<nlohmann::ordered_json> m_typedValues;
    nlohmann::ordered_json m_closedTypedValue;
    bool m_hasClosedTypedValue = false;
    bool m_failed = false;
};

} // namespace zor::host
