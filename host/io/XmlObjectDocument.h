#pragma once

#include "host/io/ObjectDocument.h"

namespace zor::host {

/// readObjects for an XML document: <objects> holding <object type="<type name>"> elements,
/// whose attributes and child elements are the object's variables and whose <object> child
/// elements are its children.
bool readXmlObjects(const String& fileName, std::string_view text, ObjectCreator create,
                    List<IObject*>& objects, const ObjectCheck& check = {});

/// writeObjects for an XML document, indented by two spaces.
bool writeXmlObjects(const String& fileName, const List<IObject*>& objects, bool typedMode,
                     std::string& text);

} // namespace zor::host
