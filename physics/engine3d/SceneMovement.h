#pragma once

namespace zor {

class IScene3D;
class PhysicsEngine3D;

/// Advances every movable rigid body of the scene by the engine's step (explicit Euler: the
/// position with the speed before the step, then the speed with the acceleration and gravity;
/// the rotation likewise). T is the scene's number type.
template <typename T>
void updateSceneMovements(const PhysicsEngine3D& engine, IScene3D& scene);

/// Pins locked coordinates of every rigid body at zero, then brings bodies that left the
/// camera's view back on the opposite side (hLoop, vLoop).
template <typename T>
void finalizeScenePositions(IScene3D& scene);

} // namespace zor
