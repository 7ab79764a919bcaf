#pragma once

#include "common/containers/List.h"
#include "common/containers/String.h"
#include "common/object/IObject.h"

namespace zor {

/// Reads any document the host makes (an attribute file, a path file, a 2D or a 3D scene) from
/// the file `path`, with the checks of scene files; unusual values get a warning line each.
/// False after the document's log line (see reportDocumentFailure).
bool readHostDocument(const String& path, List<IObject*>& objects);

} // namespace zor
