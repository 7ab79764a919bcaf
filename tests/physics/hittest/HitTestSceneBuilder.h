#pragma once

#include "common/containers/String.h"
#include "host/scene2d/Scene2D.h"
#include "physics/attributes/HitTestAttribute.h"

namespace zor::test {

/// Adds a button with a hit-test attribute to `scene` (under `parent`, the root when null).
template <typename T>
Element2D<T>* addHitTestable(Scene2D<T>& scene, Element2D<T>* parent, const char* name, Rect<T> rectangle,
                             const char* eventString = "", uint32 eventParent = 1) {
    Element2D<T>* element = scene.addElement(parent, ElementKind2D::Button, String(name));
    element->geometry.rectangle = rectangle;
    auto* attribute = new HitTestAttribute();
    attribute->setEventString(String(eventString));
    attribute->setEventParent(eventParent);
    element->setHitTestAttribute(attribute);
    attribute->release();
    return element;
}

/// The records of a scene list, to be rewritten by a test: `holder` is what the scene's
/// getUnfoldedElements or getClipMarkedElements hands out.
inline Array<UnfoldedElement2D>& listOf(IObject* holder) {
    return *static_cast<Array<UnfoldedElement2D>*>(holder->getUserData());
}

} // namespace zor::test
