#pragma once

#include "host/io/ObjectDocument.h"

namespace zor::host {

/// readJsonObjects without parsing the document whole, for documents of any size up to the
/// streamed limits (DocumentLimits.h): the entries are made one at a time, and only an entry's
/// variables stand parsed at once. An entry whose children come last in it streams them too;
/// any other entry is parsed whole (within kMostValues) and read as readJsonObjects reads it.
/// The log line of a refusal is the one readJsonObjects writes for the same document. A
/// document of another shape than {"objects": [...]} is read by readJsonObjects when it is
/// within its limits, and refused otherwise.
bool streamJsonObjects(const String& fileName, std::string_view text, ObjectCreator create,
                       List<IObject*>& objects, const ObjectCheck& check = {});

} // namespace zor::host
