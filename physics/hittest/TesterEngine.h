#pragma once

#include "physics/hittest/HitTestEngine2D.h"
#include "physics/module/EngineReserved.h"

namespace zor {

struct ElementHit;
class IElement;
class TesterEngine;
using TesterEngineReserved = EngineReserved<TesterEngine>;

/// A second 2D hit-testing engine with PhysicsEngine2D's interface. It walks the scene's
/// clip-marked unfolded list, where an element outside a clip region that encloses it cannot be
/// hit, and on a docking-layout element it reports which of the layout's separators was hit.
class TesterEngine : public HitTestEngine2D {
public:
    /// The factory's allocator: a new engine with its companion, one owner.
    static IObject* allocateObject();

    ZOR_DELETING_DESTRUCTOR(TesterEngine)
    /// "TesterEngine".
    const String& getTypeName() const override;
    const GUID_t* getGUID() const override;
    bool isTypeOf(const GUID_t& guid) const override;
    IObject* castTo(const GUID_t& guid) override;

    /// Slots 43 and 44: the event of the element or separator under `point`.
    HitTestEvent* performHitTestToSceneFloat(Vector2<float> point) override;
    HitTestEvent* performHitTestToSceneDouble(Vector2<double> point) override;
    /// Slot 47: the companion.
    virtual TesterEngineReserved* getTesterEngineReserved();

    /// The event of `p_sceneElement` when it is hit-testable and contains `point` (scene
    /// coordinates), or null; for a docking layout, the event of the separator under the point.
    /// A null element ends the process (assertion).
    template <typename T>
    HitTestEvent* performHitTestToElement(const Vector2<T>& point, IElement* p_sceneElement);

protected:
    TesterEngine();
    /// Destroys the companion.
    ~TesterEngine();

private:
    template <typename T>
    HitTestEvent* performHitTestToScene(const Vector2<T>& point, const char* functionName);
    /// The event of the docking layout's separator under `point`, or null; `hit` is the layout's.
    template <typename T>
    HitTestEvent* performHitTestToSeparators(const Vector2<T>& point, ElementHit& hit);

    TesterEngineReserved* m_reserved = nullptr;
};

} // namespace zor
