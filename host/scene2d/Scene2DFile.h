#pragma once

#include "common/containers/String.h"
#include "host/scene2d/Scene2D.h"
#include "host/scene2d/Scene2DDescription.h"

namespace zor {

/// Makes the object of a 2D scene file entry: the scene, its elements by their type names,
/// separators, and "HitTestAttribute" through the host's factory (the physics module must be
/// loaded for it). Null for any other type name.
IObject* createScene2DFileObject(const String& typeName);

/// The scene that `description` and its children describe, unfolded; one owner, the caller.
/// Null after an ERROR line when a child stands where it cannot (a separator outside a docking
/// layout, a second hit-test attribute, anything but an element under the scene).
template <typename T>
Scene2D<T>* buildScene2D(const SceneDescription& description);

/// Reads the 2D scene file `path` (JSON or XML, by its extension) holding one "Scene2D" object:
/// a Scene2D<float> or Scene2D<double> by its "numberType", unfolded, one owner, the caller.
/// Null after an ERROR line that names the file and what is wrong.
IScene2D* readScene2DFile(const String& path);

} // namespace zor
