#include "physics/hittest/PhysicsEngine2D.h"

#include "common/containers/String.h"
#include "common/framework/IElement.h"
#include "common/framework/IScene2D.h"
#include "common/log/Log.h"
#include "common/object/Identifiers.h"
#include "physics/attributes/HitTestAttribute.h"
#include "physics/hittest/ElementHit.h"

namespace zor {

IObject* PhysicsEngine2D::allocateObject() {
    auto* engine = new PhysicsEngine2D();
    engine->initObjectInterface();
    engine->m_reserved = new PhysicsEngine2DReserved(engine);
    return engine;
}

PhysicsEngine2D::PhysicsEngine2D() = default;

PhysicsEngine2D::~PhysicsEngine2D() {
    m_reserved->destroy();
}

const String& PhysicsEngine2D::getTypeName() const {
    static const String typeName("PhysicsEngine2D");
    return typeName;
}

const GUID_t* PhysicsEngine2D::getGUID() const {
    return &guids::kPhysicsEngine2D;
}

bool PhysicsEngine2D::isTypeOf(const GUID_t& guid) const {
    return isTypeOfClass(guid, guids::kPhysicsEngine2D);
}

IObject* PhysicsEngine2D::castTo(const GUID_t& guid) {
    return castToClass(guid, guids::kPhysicsEngine2D);
}

HitTestEvent* PhysicsEngine2D::performHitTestToSceneFloat(Vector2<float> point) {
    return performHitTestToScene(point, "zor::PhysicsEngine2D::performHitTestToSceneFloat");
}

HitTestEvent* PhysicsEngine2D::performHitTestToSceneDouble(Vector2<double> point) {
    return performHitTestToScene(point, "zor::PhysicsEngine2D::performHitTestToSceneDouble");
}

PhysicsEngine2DReserved* PhysicsEngine2D::getPhysicsEngine2DReserved() {
    return m_reserved;
}

template <typename T>
HitTestEvent* PhysicsEngine2D::performHitTestToScene(const Vector2<T>& point, const char* functionName) {
    IScene2D* scene = sceneToHitTest<T>(functionName);
    if (scene == nullptr)
        return nullptr;
    const Array<UnfoldedElement2D>& records = unfoldedRecords(scene->getUnfoldedElements());
    // The last record is drawn last, on top of the others: it is tested first.
    for (uint64 i = records.size(); i-- > 0;) {
        const UnfoldedElement2D& unfoldedElement = records[i];
        if (unfoldedElement.kind != UnfoldedElementKindElement &&
            unfoldedElement.kind != UnfoldedElementKindGroup)
            continue;
        zor_assert_in(ZOR_LOG_MODULE, functionName, unfoldedElement.m_element != NULL);
        if (HitTestEvent* event = performHitTestToElement(point, unfoldedElement.m_element))
            return reportedEvent(event);
    }
    return nullptr;
}

template <typename T>
HitTestEvent* PhysicsEngine2D::performHitTestToElement(const Vector2<T>& point, IElement* p_sceneElement) {
    zor_assert_in(ZOR_LOG_MODULE, "zor::PhysicsEngine2D::performHitTestToElement", p_sceneElement != NULL);
    ElementHit hit;
    if (!findElementHit(point, p_sceneElement, hit))
        return nullptr;
    return createHitTestEvent(hit, hit.attribute->getEventString(), 0);
}

template HitTestEvent* PhysicsEngine2D::performHitTestToElement<float>(const Vector2<float>&, IElement*);
template HitTestEvent* PhysicsEngine2D::performHitTestToElement<double>(const Vector2<double>&, IElement*);

} // namespace zor
