#pragma once

#include "common/containers/String.h"
#include "host/project/HostPhysicsAttribute.h"
#include "host/scene2d/Scene2D.h"
#include "physics/attributes/HitTestAttribute.h"
#include "physics/attributes/HitTestEvent.h"
#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

#include <string>

namespace zor::test {

/// Adds an element of `kind` (a button unless given) with a hit-test attribute to `scene` (under
/// `parent`, the root when null).
template <typename T>
Element2D<T>* addHitTestable(Scene2D<T>& scene, Element2D<T>* parent, const char* name, Rect<T> rectangle,
                             const char* eventString = "", uint32 eventParent = 1,
                             ElementKind2D kind = ElementKind2D::Button) {
    Element2D<T>* element = scene.addElement(parent, kind, String(name));
    element->geometry.rectangle = rectangle;
    auto* attribute = new HitTestAttribute();
    attribute->setEventString(String(eventString));
    attribute->setEventParent(eventParent);
    element->setHitTestAttribute(attribute);
    attribute->release();
    return element;
}

/// "element name" or "element name/event string/separator index" of a hit, "" for none; the
/// event is destroyed.
inline std::string describeHit(HitTestEvent* event) {
    if (event == nullptr)
        return "";
    std::string text = event->getElement()->getName().c_str();
    if (event->getSeparatorIndex() != 0 || !event->getEventString().isEmpty())
        text += "/" + std::string(event->getEventString().c_str()) + "/" +
                std::to_string(event->getSeparatorIndex());
    event->destroy();
    return text;
}

/// The records of a scene list, to be rewritten by a test: `holder` is what the scene's
/// getUnfoldedElements or getClipMarkedElements hands out.
inline Array<UnfoldedElement2D>& listOf(IObject* holder) {
    return *static_cast<Array<UnfoldedElement2D>*>(holder->getUserData());
}

/// A scene of number type T and a resources handler for the engines a test puts on it, with a
/// host record that makes the hit-test attributes.
template <typename T>
class HitTestSceneTest : public ::testing::Test {
protected:
    ~HitTestSceneTest() override {
        m_scene->release();
        m_handler->release();
    }

    /// A new engine of class Engine hit-testing the scene; the test releases it.
    template <typename Engine>
    Engine* newEngine() {
        auto* engine = static_cast<Engine*>(Engine::allocateObject());
        engine->setResourcesHandler(m_handler);
        engine->setCurrentScene(m_scene);
        return engine;
    }
    Element2D<T>* add(const char* name, Rect<T> rectangle, Element2D<T>* parent = nullptr) {
        return addHitTestable(*m_scene, parent, name, rectangle);
    }

    TestApplicationData m_record{&HostObject::create, &HostPhysicsAttribute::create};
    Scene2D<T>* m_scene = new Scene2D<T>();
    IObject* m_handler = HostObject::create();
};

} // namespace zor::test
