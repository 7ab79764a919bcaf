#include "host/io/ObjectDocument.h"

#include "host/io/DocumentFailure.h"
#include "host/io/DocumentFile.h"
#include "host/io/DocumentShape.h"
#include "host/io/JsonObjectDocument.h"
#include "host/io/JsonObjectStream.h"
#include "host/io/XmlObjectDocument.h"

#include <cctype>
#include <cstring>

namespace zor::host {

namespace {

bool endsWithNoCase(const String& text, const char* suffix) {
    const std::size_t length = std::strlen(suffix);
    if (text.length() < length)
        return false;
    const char* tail = text.c_str() + text.length() - length;
    for (std::size_t i = 0; i < length; ++i)
        if (std::tolower(static_cast<unsigned char>(tail[i])) != suffix[i])
            return false;
    return true;
}

bool formatOrRefuse(const char* function, const String& path, DocumentFormat& format) {
    if (documentFormatOf(path, format))
        return true;
    logDocumentFailure(function, path, "the file name", "%s", "expected the extension .json or .xml");
    return false;
}

} // namespace

bool documentFormatOf(const String& path, DocumentFormat& format) {
    if (endsWithNoCase(path, ".json"))
        format = DocumentFormat::Json;
    else if (endsWithNoCase(path, ".xml"))
        format = DocumentFormat::Xml;
    else
        return false;
    return true;
}

bool readObjects(DocumentFormat format, const String& fileName, std::string_view text, ObjectCreator create,
                 List<IObject*>& objects, const ObjectCheck& check) {
    if (!checkDocumentShape(format, fileName, text))
        return false;
    return format == DocumentFormat::Json ? readJsonObjects(fileName, text, create, objects, check)
                                          : readXmlObjects(fileName, text, create, objects, check);
}

bool writeObjects(DocumentFormat format, const String& fileName, const List<IObject*>& objects,
                  bool typedMode, std::string& text) {
    return format == DocumentFormat::Json ? writeJsonObjects(fileName, objects, typedMode, text)
                                          : writeXmlObjects(fileName, objects, typedMode, text);
}

bool readObjectFile(const String& path, ObjectCreator create, List<IObject*>& objects,
                    const ObjectCheck& check) {
    DocumentFormat format;
    std::string text;
    return formatOrRefuse("zor::host::readObjectFile", path, format) && readDocumentText(path, text) &&
           readObjects(format, path, text, create, objects, check);
}

bool streamObjectFile(const String& path, ObjectCreator create, List<IObject*>& objects,
                      const ObjectCheck& check) {
    DocumentFormat format;
    std::string text;
    if (!formatOrRefuse("zor::host::readObjectFile", path, format))
        return false;
    if (format == DocumentFormat::Xml)
        return readDocumentText(path, text) && readObjects(format, path, text, create, objects, check);
    return readDocumentText(path, text, kMostStreamedDocumentBytes) &&
           streamJsonObjects(path, text, create, objects, check);
}

bool writeObjectFile(const String& path, const List<IObject*>& objects, bool typedMode) {
    constexpr const char* kFunction = "zor::host::writeObjectFile";
    DocumentFormat format;
    if (!formatOrRefuse(kFunction, path, format))
        return false;
    std::string text;
    if (!writeObjects(format, path, objects, typedMode, text))
        return false;
    return writeDocumentText(path, text);
}

} // namespace zor::host
