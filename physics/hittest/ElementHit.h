#pragma once

#include "common/Types.h"
#include "common/variables/Vector.h"

namespace zor {

class HitTestAttribute;
class HitTestEvent;
class IElement;
class IElementGeometry;
class IElementState;
class String;

/// What the element hit test of both engines has found before it builds an event: the element,
/// the parts of it the event needs, and the event's target, on which one reference is held.
struct ElementHit {
    IElement* element = nullptr;
    IElementState* state = nullptr;
    IElementGeometry* geometry = nullptr;
    const HitTestAttribute* attribute = nullptr;
    IElement* target = nullptr;
};

/// True when `element` takes part in hit testing, carries a HitTestAttribute itself (not a class
/// derived from it) and contains `point` (scene coordinates; borders included). Then `hit` holds
/// what was found, with a reference on the target that createHitTestEvent or releaseTarget drops.
template <typename T>
bool findElementHit(const Vector2<T>& point, IElement* element, ElementHit& hit);

/// The event of a hit: the hit element with `eventString` and `separatorIndex`, passive when
/// the element's state has neither activity flag. The event takes its own references; the hit's
/// reference on the target is dropped.
HitTestEvent* createHitTestEvent(ElementHit& hit, const String& eventString, uint32 separatorIndex);

/// Drops the hit's reference on the target.
void releaseTarget(ElementHit& hit);

/// The event that ends a scene walk as its caller receives it: a passive event hides the
/// elements behind it and is reported to no one, so it is destroyed and null returned.
HitTestEvent* reportedEvent(HitTestEvent* event);

} // namespace zor
