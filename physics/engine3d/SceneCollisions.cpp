#include "physics/engine3d/SceneCollisions.h"

#include "physics/engine3d/PhysicsEngine3D.h"

namespace zor {

// The contact passes are not built yet: a scene has no collision primitives, so no pass finds a
// contact and nothing is pending.
template <typename T>
bool updateSceneCollisions(PhysicsEngine3D&, IScene3D&) {
    return false;
}

template bool updateSceneCollisions<float>(PhysicsEngine3D&, IScene3D&);
template bool updateSceneCollisions<double>(PhysicsEngine3D&, IScene3D&);

} // namespace zor
