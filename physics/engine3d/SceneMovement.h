#pragma once

#include "physics/engine3d/SceneBodies.h"

namespace zor {

class IScene3D;
class PhysicsEngine3D;

/// Advances every movable rigid body of the scene by the engine's step (explicit Euler: the
/// position with the speed before the step, then the speed with the acceleration and gravity;
/// the rotation likewise). T is the scene's number type. The bodies walked are left in `kept`,
/// whose bodies are taken instead of a walk while the scene declares the generation they were
/// found at.
template <typename T>
void updateSceneMovements(const PhysicsEngine3D& engine, IScene3D& scene, KeptBodies<T>& kept);

/// Pins locked coordinates of every rigid body at zero, then brings bodies that left the
/// camera's view back on the opposite side (hLoop, vLoop). The bodies are those a walk of the
/// same call `found`, with no host code run since.
template <typename T>
void finalizeScenePositions(IScene3D& scene, const FoundBodies<T>& found);

} // namespace zor
