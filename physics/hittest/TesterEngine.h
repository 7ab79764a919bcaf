#pragma once

#include "common/object/WObject.h"
#include "common/variables/Vector.h"

namespace zor {

struct ElementHit;
class HitTestEvent;
class IElement;
class IScene2D;
class TesterEngineReserved;

/// A second 2D hit-testing engine with PhysicsEngine2D's interface. It walks the scene's
/// clip-marked unfolded list, where an element outside a clip region that encloses it cannot be
/// hit, and on a docking-layout element it reports which of the layout's separators was hit.
class TesterEngine : public WObject {
public:
    /// The factory's allocator: a new engine with its companion, one owner.
    static IObject* allocateObject();

    ZOR_DELETING_DESTRUCTOR(TesterEngine)
    /// "TesterEngine".
    const String& getTypeName() const override;
    const GUID_t* getGUID() const override;
    bool isTypeOf(const GUID_t& guid) const override;
    IObject* castTo(const GUID_t& guid) override;

    /// Slot 42: holds `handler` (a reference is taken) instead of the previous one; null clears
    /// it. Always true.
    virtual bool setResourcesHandler(IObject* handler);
    /// Slot 43: the event of the element or separator of a float scene under `point`, owned by
    /// the caller; null when nothing is hit, the hit is passive, or the engine cannot test (a
    /// warning).
    virtual HitTestEvent* performHitTestToSceneFloat(Vector2<float> point);
    /// Slot 44: the same for a double scene.
    virtual HitTestEvent* performHitTestToSceneDouble(Vector2<double> point);
    /// Slot 45: the current scene; with `addReference` the caller receives a reference of its own.
    virtual IScene2D* getCurrentScene(bool addReference);
    /// Slot 46: holds `scene` (a reference is taken) instead of the previous one; null clears it.
    virtual void setCurrentScene(IScene2D* scene);
    /// Slot 47: the companion.
    virtual TesterEngineReserved* getTesterEngineReserved();

    /// The event of `p_sceneElement` when it is hit-testable and contains `point` (scene
    /// coordinates), or null; for a docking layout, the event of the separator under the point.
    /// A null element ends the process (assertion).
    template <typename T>
    HitTestEvent* performHitTestToElement(const Vector2<T>& point, IElement* p_sceneElement);

protected:
    TesterEngine();
    /// Releases the handler and the scene, then destroys the companion.
    ~TesterEngine();

private:
    template <typename T>
    HitTestEvent* performHitTestToScene(const Vector2<T>& point, const char* functionName);
    /// The event of the docking layout's separator under `point`, or null; `hit` is the layout's.
    template <typename T>
    HitTestEvent* performHitTestToSeparators(const Vector2<T>& point, ElementHit& hit);

    IScene2D* m_currentScene = nullptr;
    IObject* m_resourcesHandler = nullptr;
    TesterEngineReserved* m_reserved = nullptr;
};

} // namespace zor
