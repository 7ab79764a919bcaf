#pragma once

#include "host/core/HostObject.h"
#include "physics/engine3d/PhysicsEngine3D.h"

namespace zor::test {

/// A new 3D engine with a resources handler of its own, stepping `scene` (it takes a reference).
inline PhysicsEngine3D* engineOn(IObject* scene) {
    auto* engine = static_cast<PhysicsEngine3D*>(PhysicsEngine3D::allocateObject());
    auto* handler = new HostObject();
    engine->setResourcesHandler(handler);
    handler->release();
    engine->setCurrentScene(scene);
    return engine;
}

} // namespace zor::test
