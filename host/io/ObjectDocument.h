#pragma once

#include "common/containers/List.h"
#include "common/containers/String.h"
#include "common/object/IObject.h"

#include <functional>
#include <string>
#include <string_view>

namespace zor::host {

/// Makes the object for a document entry's type name, owned by the caller; null when the name
/// is unknown.
using ObjectCreator = IObject* (*)(const String& typeName);

/// Checks an object once it has read its variables and taken its children, with `reader` (a
/// host reader of variables) reading its variables again: the place to refuse or question what
/// the object took (see VariablePlace.h). False refuses the document, after the check's own
/// log line.
using ObjectCheck = std::function<bool(IObject& object, IObject& reader)>;

/// The file formats of object documents.
enum class DocumentFormat { Json, Xml };

/// The format a file name asks for by its extension (".json" or ".xml", in any case); false
/// for any other name.
bool documentFormatOf(const String& path, DocumentFormat& format);

/// Reads a document of objects from `text`: each entry's object is made by `create` from its
/// type name and reads its variables through its own read operation; an entry's children are
/// added to it with addChild, and then it passes `check`. The objects are appended to `objects` (one
/// reference each, the caller's). The document stays within the limits of DocumentLimits.h,
/// checked before it is parsed. False after one log line naming `fileName`, the place and what
/// was expected, with nothing appended.
bool readObjects(DocumentFormat format, const String& fileName, std::string_view text, ObjectCreator create,
                 List<IObject*>& objects, const ObjectCheck& check = {});

/// Writes `objects` (and their children) as a document into `text`, each through its own write
/// operation in typed or untyped mode. False after one log line naming `fileName`.
bool writeObjects(DocumentFormat format, const String& fileName, const List<IObject*>& objects,
                  bool typedMode, std::string& text);

/// readObjects from the file `path` (see readDocumentText), in the format its extension names.
bool readObjectFile(const String& path, ObjectCreator create, List<IObject*>& objects,
                    const ObjectCheck& check = {});

/// readObjectFile for documents that may be large, such as scenes: a JSON file is streamed
/// (see streamJsonObjects) within the streamed limits, an XML file read whole.
bool streamObjectFile(const String& path, ObjectCreator create, List<IObject*>& objects,
                      const ObjectCheck& check = {});

/// writeObjects into the file `path`, in the format its extension names.
bool writeObjectFile(const String& path, const List<IObject*>& objects, bool typedMode);

} // namespace zor::host
