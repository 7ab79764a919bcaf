#pragma once

#include "host/scene3d/Scene3D.h"
#include "host/simulate/Trajectory.h"

#include <vector>

namespace zor::host {

/// The faces of `scene`'s grid stages (the faces the engine collides with, placed as it places
/// them) and the triangles of its meshes in world coordinates, appended to `faces`. At most
/// kMostSceneryFaces are collected: a picture of more would be unreadable.
template <typename T>
void collectScenery(Scene3D<T>& scene, std::vector<SceneryFace>& faces);

inline constexpr std::size_t kMostSceneryFaces = 100000;

} // namespace zor::host
