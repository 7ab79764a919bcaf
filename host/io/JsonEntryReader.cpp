#include "host/io/JsonEntryReader.h"

#include "host/io/DocumentFailure.h"
#include "host/io/DocumentLimits.h"
#include "host/io/DocumentObjects.h"
#include "host/io/JsonText.h"

namespace zor::host {

using nlohmann::ordered_json;

namespace {

constexpr const char* kFunction = "zor::host::readJsonObjects";

const ordered_json& variablesOf(const ordered_json& entry) {
    static const ordered_json kNoVariables = ordered_json::object();
    const auto variables = entry.find("variables");
    return variables != entry.end() ? *variables : kNoVariables;
}

} // namespace

JsonEntryReader::JsonEntryReader(const String& fileName, ObjectCreator create, const ObjectCheck& check,
                                 uint64 mostObjects)
    : m_fileName(fileName), m_create(create), m_check(check), m_mostObjects(mostObjects) {
    m_reader = new JsonVariableReader(fileName);
}

JsonEntryReader::~JsonEntryReader() {
    m_reader->release();
}

const String& JsonEntryReader::typeNameOf(const std::string& text) {
    for (const auto& [known, name] : m_typeNames)
        if (known == text)
            return name;
    if (m_typeNames.size() == kKeptTypeNames)
        m_typeNames.erase(m_typeNames.begin());
    m_typeNames.emplace_back(text, String(text.c_str(), text.size()));
    return m_typeNames.back().second;
}

bool JsonEntryReader::checkDepth(const std::string& pointer, int depth) {
    return depth <= kMostObjectNesting ||
           refuse(pointer, "objects nested at most 64 deep", ordered_json::array());
}

bool JsonEntryReader::readEntries(const ordered_json& entries, const std::string& pointer, int depth,
                                  List<IObject*>& objects) {
    if (!entries.is_array())
        return refuse(pointer, "an array of objects", entries);
    if (!checkDepth(pointer, depth))
        return false;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        IObject* object = readEntry(entries[i], pointer + "/" + std::to_string(i), depth);
        if (object == nullptr)
            return false;
        objects.pushBack(object);
    }
    return true;
}

bool JsonEntryReader::refuse(const std::string& pointer, const char* expected, const ordered_json& found) {
    logDocumentFailure(kFunction, m_fileName, pointer, "expected %s, found %s", expected,
                       describeJson(found).c_str());
    return false;
}

IObject* JsonEntryReader::begin(const ordered_json& entry, const std::string& pointer) {
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
    if (++m_objectCount > m_mostObjects) {
        logDocumentFailure(kFunction, m_fileName, pointer, "expected %llu objects at most, found more",
                           static_cast<unsigned long long>(m_mostObjects));
        return nullptr;
    }
    IObject* object = m_create(typeNameOf(typeName));
    if (object == nullptr) {
        logDocumentFailure(kFunction, m_fileName, pointer + "/type", "no class is registered as \"%s\"",
                           typeName.c_str());
        return nullptr;
    }
    const ordered_json& variables = variablesOf(entry);
    if (!variables.is_object()) {
        refuse(pointer + "/variables", "an object of variables", variables);
        object->release();
        return nullptr;
    }
    m_reader->setRoot(variables, pointer, "variables");
    const uint64 failures = documentFailureCount();
    if (!object->read(m_reader)) {
        if (documentFailureCount() == failures)
            logDocumentFailure(kFunction, m_fileName, pointer, "the %s object refused its variables",
                               typeName.c_str());
        object->release();
        return nullptr;
    }
    return object;
}

IObject* JsonEntryReader::finish(IObject* object, List<IObject*>& children, bool hasChildren,
                                 const ordered_json& entry, const std::string& pointer) {
    if (hasChildren && !adoptChildren(object, children)) {
        logDocumentFailure(kFunction, m_fileName, pointer + "/children",
                           "the %s object does not take children",
                           entry["type"].get_ref<const std::string&>().c_str());
        object->release();
        return nullptr;
    }
    // The check sees the object with its children, and writes its own line when it refuses.
    if (m_check) {
        m_reader->setRoot(variablesOf(entry), pointer, "variables");
        if (!m_check(*object, *m_reader)) {
            object->release();
            return nullptr;
        }
    }
    return object;
}

IObject* JsonEntryReader::readEntry(const ordered_json& entry, const std::string& pointer, int depth) {
    IObject* object = begin(entry, pointer);
    if (object == nullptr)
        return nullptr;
    const auto children = entry.find("children");
    List<IObject*> childObjects;
    if (children != entry.end() && !readEntries(*children, pointer + "/children", depth + 1, childObjects)) {
        adoptChildren(object, childObjects);
        object->release();
        return nullptr;
    }
    return finish(object, childObjects, children != entry.end(), entry, pointer);
}

} // namespace zor::host
