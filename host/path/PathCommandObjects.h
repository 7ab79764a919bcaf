#pragma once

#include "common/containers/String.h"
#include "host/path/PathStep.h"

#include <string>

namespace zor {
class RefCountedData;
}

namespace zor::host {

/// The type name of the command class for `kind`: "ArcPath2DCommand{double}" and the like.
String pathCommandTypeName(PathStep::Kind kind, bool doublePrecision);

/// A new command object (one owner, the caller) made by the variable allocator registered
/// under `typeName` with the host record; null when none is registered or the name is not
/// one of the eighteen path command classes (the root "Path2DCommand{float}" included).
RefCountedData* createPathCommand(const String& typeName);

/// A new command object holding `step`, made through the registered allocators and filled
/// through the command's own member references; null (with `error` set) when that fails.
RefCountedData* createPathCommand(const PathStep& step, bool doublePrecision, std::string& error);

/// Reads the members of the command object `command`, made under `typeName`, into `step`.
/// False with `error` set when the object does not answer as a command of that name.
bool readPathCommand(RefCountedData* command, const String& typeName, PathStep& step, std::string& error);

} // namespace zor::host
