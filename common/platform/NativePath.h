#pragma once

#include "common/containers/String.h"

namespace zor::platform {

/// Splits a path of this system at its last separator by the system's own rule ("\\" and "/"
/// on Windows, "/" elsewhere): returns the file name, and stores the folder with its closing
/// separator in `directory` when given (empty when the path has no separator). The framework's
/// String::splitPath keeps its own rule; file names of the system are split here.
String splitNativePath(const String& path, String* directory);

} // namespace zor::platform
