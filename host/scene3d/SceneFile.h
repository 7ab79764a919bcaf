#pragma once

#include "common/containers/String.h"
#include "common/object/IObject.h"

namespace zor::host {

/// The object for a scene file's type name: the host's scenes and elements ("Scene3D{float}",
/// "Sphere3D{double}", ...) first, then the classes registered with the factory (the module's
/// attributes). Null when no class has that name.
IObject* createSceneObject(const String& typeName);

/// Reads a 3D scene from a .json or .xml file (one Scene3D object, its elements as children and
/// their physics attributes as theirs) and brings its view up to date. Null after the
/// document's log line when the file is no such scene; `error` is then that line, as the
/// console shows it: "FILE: PLACE: expected ..., found ...". Values that are legal but unusual
/// get a warning line each on stderr, or are refused when `strict`.
IObject* readSceneFile(const String& path, String& error, bool strict = false);

} // namespace zor::host
