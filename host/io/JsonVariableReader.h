#pragma once

#include "common/containers/String.h"
#include "common/framework/IVariableReader.h"
#include "host/core/HostObject.h"
#include "host/io/VariablePlace.h"

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>
#include <vector>

namespace zor::host {

/// Reads an object's variables from a JSON object: a variable is a member of that name, a node
/// a member holding an object. A typed value ({"type": "float", "value": 1.5}) is read as its
/// value once its type matches. Every refusal leaves one log line naming the file and the JSON
/// pointer of the value.
class JsonVariableReader : public HostObjectOf<IVariableReader>, public VariablePlaces {
public:
    ZOR_BLOCK_ALLOCATED

    /// A reader of the document `fileName` (the name its log lines carry).
    explicit JsonVariableReader(const String& fileName);

    ZOR_DELETING_DESTRUCTOR(JsonVariableReader)

    /// Reads from `variables` (an object of the document, which outlives the reading) from now
    /// on; its JSON pointer is `pointer`, followed by "/" and `member` when that is not empty.
    void setRoot(const nlohmann::ordered_json& variables, std::string_view pointer,
                 std::string_view member = {});
    /// True once a read was refused since the last setRoot (its log line is written).
    bool hasFailed() const { return m_failed; }
    const String& documentName() const override { return m_fileName; }
    /// The JSON pointer of the member `name` of the current node.
    std::string variablePlace(const String& name) const override;
    /// The JSON pointer of the entry whose variables are read.
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
    ~JsonVariableReader() = default;

private:
    struct Node {
        const nlohmann::ordered_json* value;
        /// The length of its JSON pointer, which begins m_pointer.
        std::size_t pointerLength;
    };

    // Finds the member `name` of the current node: `value` is null when it is absent, else the
    // member with a typed value's wrapper removed (`typed` tells). False, after logging, when it
    // is typed with another type than `typeName` (null: any type).
    bool lookUp(const char* function, const String& name, const char* typeName,
                const nlohmann::ordered_json*& value, bool& typed);
    // Logs the refusal of the member `name` of the current node.
    bool refuse(const char* function, const String& name, const char* expected,
                const nlohmann::ordered_json& value);
    template <typename Number>
    bool readNumber(const char* function, const String& name, bool& found, Number& value,
                    const char* typeName, const char* expected);

    String m_fileName;
    std::vector<Node> m_nodes;
    /// The JSON pointer of the current node: the nodes are entered and left as a stack, and
    /// their pointers are kept as one text that grows and shrinks with them, made only once.
    std::string m_pointer;
    bool m_failed = false;
};

} // namespace zor::host
