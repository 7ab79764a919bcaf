#include "physics/attributes/HitTestEvent.h"

#include "common/framework/IElement.h"

namespace zor {

HitTestEvent::HitTestEvent(IElement* element, const String& eventString, uint32 separatorIndex,
                           IElement* target, bool passive)
    : m_element(element), m_eventString(eventString), m_separatorIndex(separatorIndex), m_target(target),
      m_passive(passive) {
    if (m_element != nullptr)
        m_element->retain();
    if (m_target != nullptr)
        m_target->retain();
}

HitTestEvent::~HitTestEvent() {
    if (m_element != nullptr)
        m_element->release();
    if (m_target != nullptr)
        m_target->release();
}

void HitTestEvent::deletingDestructor(uint32 flags) {
    this->HitTestEvent::~HitTestEvent();
    if (flags & 1u)
        HitTestEvent::operator delete(this);
}

IElement* HitTestEvent::getElement() const {
    return m_element;
}

const String& HitTestEvent::getEventString() const {
    return m_eventString;
}

uint32 HitTestEvent::getSeparatorIndex() const {
    return m_separatorIndex;
}

IElement* HitTestEvent::getTarget() const {
    return m_target;
}

bool HitTestEvent::isPassive() const {
    return m_passive != 0;
}

void HitTestEvent::destroy() {
    deletingDestructor(1);
}

} // namespace zor
