#pragma once

#include "common/containers/String.h"
#include "common/platform/Platform.h"

/// Loads a dynamic library by its UTF-8 path; null (with a warning naming the file and the
/// system's reason) when it cannot be loaded.
zor::platform::LibraryHandle zor_loadLibrary(const zor::String& path);

/// A copy of the host's libraries directory (it ends in its separator); empty, with a
/// warning, without a host record.
zor::String zor_getLibrariesDirectory();
