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

/// The check of a 2D scene file's objects as they are read (see ObjectCheck): the scene holds
/// elements; an element holds elements, separators when it is a docking layout, and at most one
/// hit-test attribute; each refusal names the place. An element scaled to nothing is
/// questioned (no point can hit it): a warning line, or a refusal when `strict`.
bool checkScene2DObject(IObject& object, IObject& reader, bool strict);

/// Reads the 2D scene file `path` (JSON or XML, by its extension) holding one "Scene2D" object:
/// a Scene2D<float> or Scene2D<double> by its "numberType", unfolded, one owner, the caller.
/// Null after an ERROR line that names the file, the place and what is wrong (see
/// reportDocumentFailure). An element scaled to nothing gets a warning line on stderr, or is
/// refused when `strict`.
IScene2D* readScene2DFile(const String& path, bool strict = false);

} // namespace zor
