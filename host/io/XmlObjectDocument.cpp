#include "host/io/XmlObjectDocument.h"

#include "host/io/DocumentFailure.h"
#include "host/io/DocumentLimits.h"
#include "host/io/DocumentObjects.h"
#include "host/io/XmlText.h"
#include "host/io/XmlVariableReader.h"
#include "host/io/XmlVariableWriter.h"

#include <cstring>

namespace zor::host {

namespace {

bool isObjectElement(pugi::xml_node node) {
    return node.type() == pugi::node_element && std::strcmp(node.name(), "object") == 0;
}

// Reads the <object> child elements of an element, appending to `objects`.
class EntryReader {
public:
    EntryReader(const String& fileName, std::string_view text, ObjectCreator create, const ObjectCheck& check)
        : m_fileName(fileName), m_text(text), m_create(create), m_check(check) {
        m_reader = new XmlVariableReader(fileName, text);
    }
    ~EntryReader() { m_reader->release(); }

    bool readEntries(pugi::xml_node parent, int depth, List<IObject*>& objects) {
        for (pugi::xml_node child : parent.children()) {
            if (!isObjectElement(child))
                continue;
            if (depth > kMostObjectNesting)
                return refuse(child, "%s", "objects nested deeper than 64");
            if (++m_objectCount > kMostObjects)
                return refuse(child, "<object>: expected %s objects at most, found more",
                              std::to_string(kMostObjects).c_str());
            IObject* object = readEntry(child, depth);
            if (object == nullptr)
                return false;
            objects.pushBack(object);
        }
        return true;
    }

    bool refuse(pugi::xml_node element, const char* format, const char* detail) {
        logDocumentFailure(kFunction, m_fileName, xmlPlace(m_text, element), format, detail);
        return false;
    }

private:
    static constexpr const char* kFunction = "zor::host::readXmlObjects";

    IObject* readEntry(pugi::xml_node element, int depth) {
        const pugi::xml_attribute type = element.attribute("type");
        if (!type)
            return refuse(element, "%s", "<object>: expected the attribute type with the object's type name"),
                   nullptr;
        IObject* object = m_create(String(type.value()));
        if (object == nullptr)
            return refuse(element, "<object>: no class is registered as \"%s\"", type.value()), nullptr;
        m_reader->setRoot(element);
        const uint64 failures = documentFailureCount();
        if (!object->read(m_reader)) {
            if (documentFailureCount() == failures)
                refuse(element, "<object>: the %s object refused its variables", type.value());
            object->release();
            return nullptr;
        }
        List<IObject*> children;
        const bool read = readEntries(element, depth + 1, children);
        if (!adoptChildren(object, children) || !read) {
            if (read)
                refuse(element, "<object>: the %s object does not take children", type.value());
            object->release();
            return nullptr;
        }
        // The check sees the object with its children, and writes its own line when it refuses.
        if (m_check) {
            m_reader->setRoot(element);
            if (!m_check(*object, *m_reader)) {
                object->release();
                return nullptr;
            }
        }
        return object;
    }

    const String& m_fileName;
    std::string_view m_text;
    ObjectCreator m_create;
    const ObjectCheck& m_check;
    XmlVariableReader* m_reader;
    uint64 m_objectCount = 0;
};

// Writes objects and their children as <object> elements.
class EntryWriter {
public:
    EntryWriter(const String& fileName, bool typedMode) : m_fileName(fileName), m_typedMode(typedMode) {
        m_writer = new XmlVariableWriter(fileName);
    }
    ~EntryWriter() { m_writer->release(); }

    bool writeEntry(IObject* object, int depth, pugi::xml_node parent) {
        const String& typeName = object->getTypeName();
        pugi::xml_node element = parent.append_child("object");
        if (!isXmlText(typeName.c_str(), typeName.length())) {
            logDocumentFailure(kFunction, m_fileName, "object", "%s",
                               "the type name is not text that XML can carry");
            return false;
        }
        element.append_attribute("type").set_value(typeName.c_str());
        m_writer->setRoot(element);
        if (!object->write(m_writer, m_typedMode ? 1 : 0, 0)) {
            if (!m_writer->hasFailed())
                logDocumentFailure(kFunction, m_fileName, "object",
                                   "the %s object refused to write its variables", typeName.c_str());
            return false;
        }
        const uint32 childCount = object->getChildCount();
        if (childCount != 0 && depth >= kMostObjectNesting) {
            logDocumentFailure(kFunction, m_fileName, "object", "%s", "objects nested deeper than 64");
            return false;
        }
        for (uint32 i = 0; i < childCount; ++i)
            if (!writeEntry(object->getChild(i), depth + 1, element))
                return false;
        return true;
    }

private:
    static constexpr const char* kFunction = "zor::host::writeXmlObjects";

    const String& m_fileName;
    bool m_typedMode;
    XmlVariableWriter* m_writer;
};

struct StringSink : pugi::xml_writer {
    std::string& text;
    explicit StringSink(std::string& out) : text(out) {}
    void write(const void* data, std::size_t size) override {
        text.append(static_cast<const char*>(data), size);
    }
};

} // namespace

bool readXmlObjects(const String& fileName, std::string_view text, ObjectCreator create,
                    List<IObject*>& objects, const ObjectCheck& check) {
    pugi::xml_document document;
    // Whitespace-only text of an element is a value too (a string of spaces).
    const pugi::xml_parse_result result = document.load_buffer(
        text.data(), text.size(), pugi::parse_default | pugi::parse_ws_pcdata_single, pugi::encoding_utf8);
    if (!result) {
        logDocumentFailure("zor::host::readXmlObjects", fileName, textPlace(text, result.offset),
                           "not well-formed XML: %s", result.description());
        return false;
    }
    EntryReader reader(fileName, text, create, check);
    const pugi::xml_node root = document.document_element();
    if (std::strcmp(root.name(), "objects") != 0)
        return reader.refuse(root, "<%s>: expected the document element <objects>", root.name());
    List<IObject*> read;
    if (!reader.readEntries(root, 0, read)) {
        releaseObjects(read);
        return false;
    }
    appendObjects(read, objects);
    return true;
}

bool writeXmlObjects(const String& fileName, const List<IObject*>& objects, bool typedMode,
                     std::string& text) {
    pugi::xml_document document;
    pugi::xml_node declaration = document.append_child(pugi::node_declaration);
    declaration.append_attribute("version").set_value("1.0");
    declaration.append_attribute("encoding").set_value("UTF-8");
    pugi::xml_node root = document.append_child("objects");
    EntryWriter writer(fileName, typedMode);
    for (IObject* object : objects)
        if (!writer.writeEntry(object, 0, root))
            return false;
    text.clear();
    StringSink sink(text);
    document.save(sink, "  ", pugi::format_default, pugi::encoding_utf8);
    return true;
}

} // namespace zor::host
