#pragma once

#include "common/framework/IVariableReader.h"
#include "host/core/HostObject.h"
#include "support/RecordedCall.h"

#include <map>

namespace zor::test {

/// A host reader fed by the test: each variable is given by its path from the top ("speed",
/// "position.x" for the member x of the node "position") and its value as text. A node is
/// present when one of its variables is given. Every call
/// is recorded with its name and, when the variable is present, its text. A value that does not
/// parse as the kind read (a float read of "abc", an enumeration keyword the converter rejects)
/// makes the read fail, as a malformed file does; it is recorded as refused. Created with one owner, ended by
/// release.
class RecordingReader : public HostObjectOf<IVariableReader> {
public:
    ZOR_DELETING_DESTRUCTOR(RecordingReader)

    /// Gives the variable at `path` the value `text`.
    void set(const std::string& path, const std::string& text) { m_values[path] = text; }

    CallRecord& record() { return m_record; }
    std::vector<std::string> lines() const { return m_record.lines(); }

    bool enterNode(const String& name, bool& found) override;
    void leaveNode() override;
    bool readBool(const String& name, bool& found, uint8& value, uint64 options) override;
    bool readEnumeration(const String& name, bool& found, uint8& value,
                         EnumerationConverter converter) override;
    bool readUInt32(const String& name, bool& found, uint32& value, uint64 options) override;
    bool readFloat(const String& name, bool& found, float& value, uint64 options) override;
    bool readDouble(const String& name, bool& found, double& value, uint64 options) override;
    bool readString(const String& name, bool& found, String& value, uint64 options) override;

private:
    std::string pathOf(const String& name) const;
    /// Looks the variable up and records the call; `parseText` turns the text into a value and
    /// says whether it could. Absent: `found` false, value untouched, success. Malformed or
    /// refused: failure, value untouched.
    template <typename Value, typename Parse>
    bool readVariable(const char* operation, const String& name, bool& found, uint64 options, Value& value,
                      Parse parseText);

    CallRecord m_record;
    std::map<std::string, std::string> m_values;
    std::vector<std::string> m_openNodes;
};

} // namespace zor::test
