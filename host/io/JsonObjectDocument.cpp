#include "host/io/JsonObjectDocument.h"

#include "host/io/DocumentFailure.h"
#include "host/io/DocumentLimits.h"
#include "host/io/DocumentObjects.h"
#include "host/io/JsonText.h"
#include "host/io/JsonVariableReader.h"
#include "host/io/JsonVariableWriter.h"

#include <cstring>

namespace zor::host {

using nlohmann::ordered_json;

namespace {

// Reads the object entries of the array `entries` at `pointer`, appending to `objects`.
class EntryReader {
public:
    EntryReader(const String& fileName, ObjectCreator create, const ObjectCheck& check)
        : m_fileName(fileName), m_create(create), m_check(check) {
        m_reader = new JsonVariableReader(fileName);
    }
    ~EntryReader() { m_reader->release(); }

    bool readEntries(const ordered_json& entries, const std::string& pointer, int depth,
                     List<IObject*>& objects) {
        if (!entries.is_array())
            return refuse(pointer, "an array of objects", entries);
        if (depth > kMostObjectNesting)
            return refuse(pointer, "objects nested at most 64 deep", entries);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            IObject* object = readEntry(entries[i], pointer + "/" + std::to_string(i), depth);
            if (object == nullptr)
                return false;
            objects.pushBack(object);
        }
        return true;
    }

    bool refuse(const std::string& pointer, const char* expected, const ordered_json& found) {
        logDocumentFailure(kFunction, m_fileName, pointer, "expected %s, found %s", expected,
                           describeJson(found).c_str());
        return false;
    }

private:
    static constexpr const char* kFunction = "zor::host::readJsonObjects";

    IObject* readEntry(const ordered_json& entry, const std::string& pointer, int depth) {
        if (!entry.is_object())
            return refuse(pointer, "an object entry {\"type\": ..., \"variables\": {...}}", entry), nullptr;
        for (const auto& member : entry.items()) {
            if (member.key() != "type" && member.key() != "variables" && member.key() != "children")
                return refuse(jsonPointerTo(pointer, member.key()),
                              "only the members type, variables and children", member.value()),
                       nullptr;
        }
        const auto type = entry.find("type");
        if (type == entry.end() || !type->is_string())
            return refuse(pointer + "/type", "the type name of the object",
                          type == entry.end() ? ordered_json() : *type),
                   nullptr;
        const std::string& typeName = type->get_ref<const std::string&>();
        if (++m_objectCount > kMostObjects) {
            logDocumentFailure(kFunction, m_fileName, pointer, "expected %llu objects at most, found more",
                               static_cast<unsigned long long>(kMostObjects));
            return nullptr;
        }
        IObject* object = m_create(String(typeName.c_str(), typeName.size()));
        if (object == nullptr) {
            logDocumentFailure(kFunction, m_fileName, pointer + "/type", "no class is registered as \"%s\"",
                               typeName.c_str());
            return nullptr;
        }
        static const ordered_json kNoVariables = ordered_json::object();
        const auto variables = entry.find("variables");
        if (variables != entry.end() && !variables->is_object()) {
            refuse(pointer + "/variables", "an object of variables", *variables);
            object->release();
            return nullptr;
        }
        m_reader->setRoot(variables != entry.end() ? *variables : kNoVariables, pointer + "/variables");
        const uint64 failures = documentFailureCount();
        if (!object->read(m_reader)) {
            if (documentFailureCount() == failures)
                logDocumentFailure(kFunction, m_fileName, pointer, "the %s object refused its variables",
                                   typeName.c_str());
            object->release();
            return nullptr;
        }
        const auto children = entry.find("children");
        if (children != entry.end()) {
            List<IObject*> childObjects;
            const bool read = readEntries(*children, pointer + "/children", depth + 1, childObjects);
            if (!adoptChildren(object, childObjects) || !read) {
                if (read)
                    logDocumentFailure(kFunction, m_fileName, pointer + "/children",
                                       "the %s object does not take children", typeName.c_str());
                object->release();
                return nullptr;
            }
        }
        // The check sees the object with its children, and writes its own line when it refuses.
        if (m_check) {
            m_reader->setRoot(variables != entry.end() ? *variables : kNoVariables, pointer + "/variables");
            if (!m_check(*object, *m_reader)) {
                object->release();
                return nullptr;
            }
        }
        return object;
    }

    const String& m_fileName;
    ObjectCreator m_create;
    const ObjectCheck& m_check;
    JsonVariableReader* m_reader;
    uint64 m_objectCount = 0;
};

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

} // namespace

bool readJsonObjects(const String& fileName, std::string_view text, ObjectCreator create,
                     List<IObject*>& objects, const ObjectCheck& check) {
    ordered_json document;
    try {
        document = ordered_json::parse(text.begin(), text.end());
    } catch (const nlohmann::json::exception& error) {
        // The library's message starts with its own code and, for syntax errors, the place,
        // which goes first in our line.
        const char* message = std::strchr(error.what(), ']');
        message = message != nullptr ? message + 2 : error.what();
        std::string place = "the document";
        if (std::strncmp(message, "parse error at ", 15) == 0) {
            if (const char* rest = std::strstr(message, ": "); rest != nullptr) {
                place.assign(message + 15, rest);
                message = rest + 2;
            }
        } else {
            place = faultPlace(text);
        }
        logDocumentFailure("zor::host::readJsonObjects", fileName, place, "not JSON: %s", message);
        return false;
    }
    EntryReader reader(fileName, create, check);
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
