#pragma once

#include "common/containers/List.h"
#include "common/object/IObject.h"

namespace zor::host {

/// Releases the list's reference on each object and empties it.
void releaseObjects(List<IObject*>& objects);

/// Adds every child to `parent` and drops the list's reference on each, also after a refusal;
/// false when the parent refused a child.
bool adoptChildren(IObject* parent, List<IObject*>& children);

/// Moves the objects of `from` to the end of `to`.
void appendObjects(List<IObject*>& from, List<IObject*>& to);

} // namespace zor::host
