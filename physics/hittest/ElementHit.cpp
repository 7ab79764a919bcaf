#include "physics/hittest/ElementHit.h"

#include "common/framework/IElement.h"
#include "common/framework/IElementGeometry.h"
#include "common/framework/IElementState.h"
#include "common/object/Identifiers.h"
#include "common/variables/Matrix.h"
#include "common/variables/Rect.h"
#include "physics/attributes/HitTestAttribute.h"
#include "physics/attributes/HitTestEvent.h"
#include "physics/math/MatrixRoutines.h"

namespace zor {
namespace {

// The element the event is addressed to, `levels` up from the hit element. An element of the
// pass-through class hands the event on to its own parent.
IElement* findTarget(IElement* element, uint32 levels) {
    IElement* target = element->getAncestor(levels);
    if (target != nullptr && target->isTypeOf(guids::kHitTestPassThroughElement)) {
        IElement* parent = target->getAncestor(1);
        target->release();
        target = parent;
    }
    return target;
}

} // namespace

template <typename T>
bool findElementHit(const Vector2<T>& point, IElement* element, ElementHit& hit) {
    IElementState* state = element->getState();
    IElementGeometry* geometry = element->getGeometry();
    if (!state->isHitTestVisible())
        return false;
    const IObject* attribute = element->getPhysicsAttribute(0);
    if (attribute == nullptr || *attribute->getGUID() != guids::kHitTestAttribute)
        return false;
    const auto& matrix = *static_cast<const Matrix3x3<T>*>(geometry->getMatrix());
    const auto& rectangle = *static_cast<const Rect<T>*>(geometry->getRectangle());
    if (!isPointInTransformedRect(point, rectangle, matrix))
        return false;

    // Only the exact class has the identifier, so the attribute is a HitTestAttribute.
    const auto* hitTestAttribute = static_cast<const HitTestAttribute*>(attribute);
    hit = ElementHit{element, state, geometry, hitTestAttribute,
                     findTarget(element, hitTestAttribute->getEventParent())};
    return true;
}

template bool findElementHit<float>(const Vector2<float>&, IElement*, ElementHit&);
template bool findElementHit<double>(const Vector2<double>&, IElement*, ElementHit&);

HitTestEvent* createHitTestEvent(ElementHit& hit, const String& eventString, uint32 separatorIndex) {
    // The keyboard flag is asked only when the pointer flag is off.
    const bool passive = !hit.state->isPointerActive() && !hit.state->isKeyboardActive();
    auto* event = new HitTestEvent(hit.element, eventString, separatorIndex, hit.target, passive);
    releaseTarget(hit);
    return event;
}

void releaseTarget(ElementHit& hit) {
    if (hit.target != nullptr)
        hit.target->release();
    hit.target = nullptr;
}

HitTestEvent* reportedEvent(HitTestEvent* event) {
    if (event == nullptr || !event->isPassive())
        return event;
    event->destroy();
    return nullptr;
}

} // namespace zor
