#include "host/io/ObjectDocument.h"

#include "common/containers/Array.h"
#include "common/platform/Platform.h"
#include "host/io/DocumentFailure.h"
#include "host/io/JsonObjectDocument.h"
#include "host/io/XmlObjectDocument.h"

#include <cctype>
#include <cstdio>
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
                 List<IObject*>& objects) {
    return format == DocumentFormat::Json ? readJsonObjects(fileName, text, create, objects)
                                          : readXmlObjects(fileName, text, create, objects);
}

bool writeObjects(DocumentFormat format, const String& fileName, const List<IObject*>& objects,
                  bool typedMode, std::string& text) {
    return format == DocumentFormat::Json ? writeJsonObjects(fileName, objects, typedMode, text)
                                          : writeXmlObjects(fileName, objects, typedMode, text);
}

bool readObjectFile(const String& path, ObjectCreator create, List<IObject*>& objects) {
    constexpr const char* kFunction = "zor::host::readObjectFile";
    DocumentFormat format;
    if (!formatOrRefuse(kFunction, path, format))
        return false;
    std::FILE* file = platform::openFile(path, "rb");
    if (file == nullptr) {
        logDocumentFailure(kFunction, path, "the file", "%s", "cannot be opened for reading");
        return false;
    }
    std::string text;
    char buffer[65536];
    for (std::size_t count; (count = std::fread(buffer, 1, sizeof buffer, file)) != 0;)
        text.append(buffer, count);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        logDocumentFailure(kFunction, path, "the file", "%s", "cannot be read");
        return false;
    }
    return readObjects(format, path, text, create, objects);
}

bool writeObjectFile(const String& path, const List<IObject*>& objects, bool typedMode) {
    constexpr const char* kFunction = "zor::host::writeObjectFile";
    DocumentFormat format;
    if (!formatOrRefuse(kFunction, path, format))
        return false;
    std::string text;
    if (!writeObjects(format, path, objects, typedMode, text))
        return false;
    std::FILE* file = platform::openFile(path, "wb");
    if (file == nullptr) {
        logDocumentFailure(kFunction, path, "the file", "%s", "cannot be opened for writing");
        return false;
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (std::fclose(file) != 0 || !written) {
        logDocumentFailure(kFunction, path, "the file", "%s", "cannot be written");
        return false;
    }
    return true;
}

} // namespace zor::host
