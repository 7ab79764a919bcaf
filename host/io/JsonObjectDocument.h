#pragma once

#include "host/io/ObjectDocument.h"

namespace zor::host {

/// readObjects for a JSON document:
/// {"objects": [{"type": "<type name>", "variables": {...}, "children": [...]}, ...]}.
bool readJsonObjects(const String& fileName, std::string_view text, ObjectCreator create,
                     List<IObject*>& objects, const ObjectCheck& check = {});

/// Logs why `text` is not JSON, as readJsonObjects does: the parser's message `what` at its place.
void logNotJson(const String& fileName, std::string_view text, const char* what);

/// writeObjects for a JSON document, indented by two spaces.
bool writeJsonObjects(const String& fileName, const List<IObject*>& objects, bool typedMode,
                      std::string& text);

} // namespace zor::host
