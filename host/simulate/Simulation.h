#pragma once

#include "host/scene3d/Scene3D.h"
#include "host/simulate/Trajectory.h"
#include "physics/engine3d/IPhysicsEngine3D.h"

#include <functional>

namespace zor::host {

/// How long a run is.
struct SimulationSettings {
    uint64 steps = 200;
    double deltaT = 0.02;
};

/// Steps `scene` with `engine` as a host does (begin, movements, the grid stages' moving floors
/// and ceilings, view update, collisions, end) and records every rigid body of the scene after
/// each step, from the start on, and the scenery as the run left it. `progress` is told each
/// finished step. False when the engine refused a step (its log says why).
template <typename T>
bool runSimulation(IPhysicsEngine3D& engine, Scene3D<T>& scene, const SimulationSettings& settings,
                   Trajectory& trajectory, const std::function<void(uint64)>& progress = nullptr);

} // namespace zor::host
