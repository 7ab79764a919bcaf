#pragma once

#include "host/io/DocumentLimits.h"
#include "host/io/JsonVariableReader.h"
#include "host/io/ObjectDocument.h"

#include <nlohmann/json.hpp>

#include <string>
#include <utility>
#include <vector>

namespace zor::host {

/// Reads object entries {"type": ..., "variables": {...}, "children": [...]} of a JSON document
/// into objects: whole entries of a parsed document, or an entry in two halves while its
/// children are streamed (begin, then finish with the children read meanwhile). Every refusal
/// writes one log line naming the file and the entry's JSON pointer.
class JsonEntryReader {
public:
    /// Objects beyond `mostObjects` are refused.
    JsonEntryReader(const String& fileName, ObjectCreator create, const ObjectCheck& check,
                    uint64 mostObjects = kMostObjects);
    ~JsonEntryReader();
    JsonEntryReader(const JsonEntryReader&) = delete;
    JsonEntryReader& operator=(const JsonEntryReader&) = delete;

    /// Reads the entries of the array `entries` at `pointer`, `depth` levels of objects down,
    /// appending to `objects`.
    bool readEntries(const nlohmann::ordered_json& entries, const std::string& pointer, int depth,
                     List<IObject*>& objects);
    /// Refuses the children at `pointer` when they would stand deeper than objects may.
    bool checkDepth(const std::string& pointer, int depth);
    /// The object of `entry` (without its children) with its variables read; null after the
    /// log line.
    IObject* begin(const nlohmann::ordered_json& entry, const std::string& pointer);
    /// Gives `object` its `children` (read since begin; none without a "children" member) and
    /// checks it; `entry` is the one begin had. The list is emptied; null after the log line,
    /// with the object released.
    IObject* finish(IObject* object, List<IObject*>& children, bool hasChildren,
                    const nlohmann::ordered_json& entry, const std::string& pointer);
    /// Logs "expected `expected`, found <found>" at `pointer`. False.
    bool refuse(const std::string& pointer, const char* expected, const nlohmann::ordered_json& found);
    /// The object of `entry` with its children; null after the log line.
    IObject* readEntry(const nlohmann::ordered_json& entry, const std::string& pointer, int depth);

private:
    /// The type names of a document are few and come again and again: the last ones met are
    /// kept as the creator takes them.
    static constexpr std::size_t kKeptTypeNames = 8;
    const String& typeNameOf(const std::string& text);

    const String& m_fileName;
    ObjectCreator m_create;
    const ObjectCheck& m_check;
    JsonVariableReader* m_reader;
    uint64 m_objectCount = 0;
    uint64 m_mostObjects;
    std::vector<std::pair<std::string, String>> m_typeNames;
};

} // namespace zor::host
