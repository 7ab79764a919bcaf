#pragma once

#include "common/object/WObject.h"
#include "common/variables/Vector.h"
#include "physics/hittest/HitTestScene.h"

namespace zor {

class HitTestEvent;
class IScene2D;

/// What the 2D hit-testing engines share after the object layer: the operations of slots 42 to
/// 46 and the resources handler and current scene they hold. Each engine walks the scene in its
/// own way and adds its companion at slot 47.
class HitTestEngine2D : public WObject {
public:
    /// Slot 42: holds `handler` (a reference is taken) instead of the previous one; null clears
    /// it. Always true.
    virtual bool setResourcesHandler(IObject* handler);
    /// Slot 43: the event of what lies under `point` in a float scene, owned by the caller; null
    /// when nothing is hit, the hit is passive, or the engine cannot test (a warning).
    virtual HitTestEvent* performHitTestToSceneFloat(Vector2<float> point) = 0;
    /// Slot 44: the same for a double scene.
    virtual HitTestEvent* performHitTestToSceneDouble(Vector2<double> point) = 0;
    /// Slot 45: the current scene; with `addReference` the caller receives a reference of its own.
    virtual IScene2D* getCurrentScene(bool addReference);
    /// Slot 46: holds `scene` (a reference is taken) instead of the previous one; null clears it.
    virtual void setCurrentScene(IScene2D* scene);

protected:
    HitTestEngine2D() = default;
    /// Releases the handler and the scene.
    ~HitTestEngine2D();

    /// The scene a hit test of a T point walks, or null (after one warning under `functionName`)
    /// without a resources handler or a scene of T's number type.
    template <typename T>
    IScene2D* sceneToHitTest(const char* functionName) const {
        return canHitTestScene<T>(m_resourcesHandler, m_currentScene, functionName) ? m_currentScene
                                                                                    : nullptr;
    }

private:
    IScene2D* m_currentScene = nullptr;
    IObject* m_resourcesHandler = nullptr;
};

} // namespace zor
