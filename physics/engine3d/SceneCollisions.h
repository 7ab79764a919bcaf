#pragma once

namespace zor {

class IScene3D;
class PhysicsEngine3D;

/// The collision stage of one step: resolves the contacts between the scene's primitives and
/// with its grid stages. True when the last allowed pass still found contacts.
template <typename T>
bool updateSceneCollisions(PhysicsEngine3D& engine, IScene3D& scene);

/// Whether the collision stage passes over pairs whose bounding boxes are apart and lets the
/// responses work on copies of the bodies' states (on by default), or asks the detector about
/// every pair and works on the bodies themselves; both give the same results.
void setCollisionPairBounds(bool enabled);

} // namespace zor
