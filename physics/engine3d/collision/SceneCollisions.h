#pragma once

#include "common/Types.h"
#include "physics/engine3d/SceneBodies.h"

namespace zor {

class ICollisionReport;
class IScene3D;
class PhysicsEngine3D;

/// The collision stage of one step: resolves the contacts between the scene's primitives and
/// with its grid stages. True when the last allowed pass still found contacts. The bodies its
/// last walk over the scene visited are left in keptBodiesOf(engine).
template <typename T>
bool updateSceneCollisions(PhysicsEngine3D& engine, IScene3D& scene);

/// The engine's list of the bodies a walk over its scene found, kept from call to call so that
/// a step allocates nothing once the scene stops growing, and walks nothing while the scene
/// declares the generation they were found at.
template <typename T>
KeptBodies<T>& keptBodiesOf(PhysicsEngine3D& engine);

/// Forgets what the engine kept of its scene from step to step: the scene has been replaced.
void forgetSceneReads(PhysicsEngine3D& engine);

/// The engine's report on what its last collision stages saw, made on first use.
ICollisionReport& collisionReportOf(PhysicsEngine3D& engine);

/// How an engine's collision stages find the pairs of primitives and the faces they ask the
/// detector about. Both give the same results (docs/engine3d.md).
enum class PairFinder : uint8 {
    /// The broad phase's pair grid and the shortcuts that go with it (faces out of reach passed
    /// over, responses on copies of the bodies' states), for a detector that declares its reach
    /// (ICollisionReach); a detector that declares nothing is asked as by AllPairs.
    Grid,
    /// Every pair after a primitive in order, every face of the cells around it, the bodies
    /// themselves: the stage's defined order, the reference the other is held to.
    AllPairs,
};

/// Chooses how `engine`'s collision stages find pairs; an engine begins with PairFinder::Grid.
void setPairFinder(PhysicsEngine3D& engine, PairFinder finder);
/// The pair finder chosen for `engine`.
PairFinder getPairFinder(PhysicsEngine3D& engine);

} // namespace zor
