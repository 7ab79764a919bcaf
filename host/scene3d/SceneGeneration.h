#pragma once

#include "common/framework/ISceneGeneration.h"
#include "common/object/Identifiers.h"
#include "host/core/HostObject.h"

namespace zor {

/// The generation a host 3D scene declares (see ISceneGeneration), handed out by the scene's
/// castTo for guids::kSceneGeneration and owned by the scene.
class SceneGeneration final : public HostObjectOf<ISceneGeneration> {
public:
    SceneGeneration() = default;
    ZOR_DELETING_DESTRUCTOR(SceneGeneration)
    bool isTypeOf(const GUID_t& guid) const override {
        return guid == guids::kSceneGeneration || HostObjectOf<ISceneGeneration>::isTypeOf(guid);
    }
    uint64 getSceneGeneration() const override { return m_generation; }
    /// A change the generation covers has been made.
    void raise() { ++m_generation; }

    /// Raises the generation of the scene above `object` (its parents' chain), if it declares one.
    static void raiseAbove(IObject* object) {
        for (IObject* parent = object->getParent(); parent != nullptr; parent = parent->getParent())
            if (IObject* declared = parent->castTo(guids::kSceneGeneration)) {
                static_cast<SceneGeneration*>(declared)->raise();
                return;
            }
    }

private:
    uint64 m_generation = 1;
};

} // namespace zor
