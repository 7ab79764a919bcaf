#pragma once

namespace zor {

/// Registers the module's object classes with the host's object factory, in the framework's
/// order: HitTestAttribute, Collision3DAttribute float and double, RigidBody3DAttribute float
/// and double, TesterEngine, PhysicsEngine2D, PhysicsEngine3D.
void registerObjectAllocators();

} // namespace zor
