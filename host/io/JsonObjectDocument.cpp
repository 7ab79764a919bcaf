#include "host/io/JsonObjectDocument.h"

#include "host/io/DocumentFailure.h"
#include "host/io/DocumentLimits.h"
#include "host/io/DocumentObjects.h"
#include "host/io/JsonEntryReader.h"
#include "host/io/JsonText.h"
#include "host/io/JsonVariableWriter.h"

#include <cstdio>
#include <cstring>

namespace zor::host {

using nlohmann::ordered_json;

namespace {

// Writes objects and their children as entries.
class EntryWriter {
public:
    EntryWriter(const String& fileName, bool typedMode) : m_fileName(fileName), m_typedMode(typedMode) {
        m_writer = new JsonVariableWriter(fileName);
    }
    ~EntryWriter() { m_writer->release(); }

    bool writeEntry(IObject* object, const std::string& pointer, int depth, ordered_json& entries) {
        const String& typeName = object->getTypeName();
        ordered_json entry = {{"type", std::string(typeName.c_str(), typeName.length())},
                              {"variables", ordered_json::object()}};
        m_writer->setRoot(entry["variables"], pointer + "/variables");
        if (!object->write(m_writer, m_typedMode ? 1 : 0, 0)) {
            if (!m_writer->hasFailed())
                logDocumentFailure(kFunction, m_fileName, pointer,
                                   "the %s object refused to write its variables", typeName.c_str());
            return false;
        }
        const uint32 childCount = object->getChildCount();
        if (childCount != 0) {
            if (depth >= kMostObjectNesting) {
                logDocumentFailure(kFunction, m_fileName, pointer, "%s", "objects nested deeper than 64");
                return false;
            }
            ordered_json children = ordered_json::array();
            for (uint32 i = 0; i < childCount; ++i)
                if (!writeEntry(object->getChild(i), pointer + "/children/" + std::to_string(i), depth + 1,
                                children))
                    return false;
            entry["children"] = std::move(children);
        }
        entries.push_back(std::move(entry));
        return true;
    }

private:
    static constexpr const char* kFunction = "zor::host::writeJsonObjects";

    const String& m_fileName;
    bool m_typedMode;
    JsonVariableWriter* m_writer;
};

// Where the parser stopped, for the faults whose message does not say (a number too large for
// a double): a second pass that builds nothing.
struct FaultLocator {
    std::size_t at = 0;
    bool null() { return true; }
    bool boolean(bool) { return true; }
    bool number_integer(ordered_json::number_integer_t) { return true; }
    bool number_unsigned(ordered_json::number_unsigned_t) { return true; }
    bool number_float(ordered_json::number_float_t, const std::string&) { return true; }
    bool string(std::string&) { return true; }
    bool binary(ordered_json::binary_t&) { return true; }
    bool start_object(std::size_t) { return true; }
    bool key(std::string&) { return true; }
    bool end_object() { return true; }
    bool start_array(std::size_t) { return true; }
    bool end_array() { return true; }
    bool parse_error(std::size_t position, const std::string& token, const nlohmann::detail::exception&) {
        at = position >= token.size() ? position - token.size() : 0;
        return false;
    }
};

std::string faultPlace(std::string_view text) {
    FaultLocator locator;
    ordered_json::sax_parse(text.begin(), text.end(), &locator);
    return textPlace(text, static_cast<std::ptrdiff_t>(locator.at));
}

// The byte the library's "line L, column C" names. It counts a line's characters from 1 and
// names the line break that ends line L - 1 as column 0 of line L.
std::ptrdiff_t libraryOffset(std::string_view text, unsigned long line, unsigned long column) {
    std::size_t lineStart = 0;
    for (unsigned long l = 1; l < line && lineStart < text.size(); ++l) {
        const std::size_t lineBreak = text.find('\n', lineStart);
        lineStart = lineBreak == std::string_view::npos ? text.size() : lineBreak + 1;
    }
    return static_cast<std::ptrdiff_t>(lineStart + column) - 1;
}

} // namespace

void logNotJson(const String& fileName, std::string_view text, const char* what) {
    // The library's message starts with its own code and, for syntax errors, the place, which
    // goes first in our line.
    const char* message = std::strchr(what, ']');
    message = message != nullptr ? message + 2 : what;
    std::string place = "the document";
    unsigned long line = 0;
    unsigned long column = 0;
    if (std::sscanf(message, "parse error at line %lu, column %lu", &line, &column) == 2) {
        if (const char* rest = std::strstr(message, ": "); rest != nullptr)
            message = rest + 2;
        place = textPlace(text, libraryOffset(text, line, column));
    } else {
        place = faultPlace(text);
    }
    logDocumentFailure("zor::host::readJsonObjects", fileName, place, "not JSON: %s", message);
}

bool readJsonObjects(const String& fileName, std::string_view text, ObjectCreator create,
                     List<IObject*>& objects, const ObjectCheck& check) {
    ordered_json document;
    try {
        document = ordered_json::parse(text.begin(), text.end());
    } catch (const nlohmann::json::exception& error) {
        logNotJson(fileName, text, error.what());
        return false;
    }
    JsonEntryReader reader(fileName, create, check);
    if (!document.is_object() || document.size() != 1 || !document.contains("objects"))
        return reader.refuse("/", "a document {\"objects\": [...]}", document);
    List<IObject*> read;
    if (!reader.readEntries(document["objects"], "/objects", 0, read)) {
        releaseObjects(read);
        return false;
    }
    appendObjects(read, objects);
    return true;
}

bool writeJsonObjects(const String& fileName, const List<IObject*>& objects, bool typedMode,
                      std::string& text) {
    EntryWriter writer(fileName, typedMode);
    ordered_json entries = ordered_json::array();
    uint64 index = 0;
    for (IObject* object : objects)
        if (!writer.writeEntry(object, "/objects/" + std::to_string(index++), 0, entries))
            return false;
    const ordered_json document = {{"objects", std::move(entries)}};
    try {
        text = document.dump(2);
    } catch (const nlohmann::json::type_error& error) {
        logDocumentFailure("zor::host::writeJsonObjects", fileName, "/objects", "%s", error.what());
        return false;
    }
    text += '\n';
    return true;
}

} // namespace zor::host
