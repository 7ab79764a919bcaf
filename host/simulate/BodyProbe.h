#pragma once

#include "common/object/IObject.h"

namespace zor::host {

/// Reads the linear speed of a rigid-body attribute of the module the way any host reads an
/// attribute: through the attribute's own write. False when the attribute refused it.
bool readLinearSpeed(IObject* rigidBody, double (&speed)[3]);

} // namespace zor::host
