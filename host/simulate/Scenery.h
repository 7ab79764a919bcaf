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

/// The face of a grid stage as the engine's grid-stage callback names it: the cell's index,
/// the face kind (0 floor, 1 ceiling, 2 to 5 the walls of sides 0 to 3) and the segment (0 for
/// floors and ceilings, 1 lower, 2 middle, 3 upper wall part). False when there is none.
template <typename T>
bool gridStageFace(const GridStage<T>& stage, uint32 cell, uint32 faceKind, uint32 segment,
                   SceneryFace& face);

/// The corners of what `camera` sees: the near rectangle (bottom left, bottom right, top right,
/// top left), then the far one.
template <typename T>
std::vector<std::array<double, 3>> viewVolume(const Camera<T>& camera);

} // namespace zor::host
