#include "physics/attributes/EventAttribute.h"

#include "common/framework/IAttributeReserved.h"
#include "common/variables/LevelReader.h"
#include "common/variables/LevelWriter.h"
#include "common/variables/VariableName.h"

namespace zor {

EventAttribute::EventAttribute() : m_eventParent(1) {}

uint32 EventAttribute::getEventParent() const {
    return m_eventParent;
}

void EventAttribute::setEventParent(uint32 value) {
    m_eventParent = value;
}

const String& EventAttribute::getEventString() const {
    return m_eventString;
}

void EventAttribute::setEventString(const String& value) {
    m_eventString = value;
}

void EventAttribute::resetValues() {
    m_eventParent = 1;
}

void EventAttribute::resetObjects() {
    m_eventString.clear();
}

void EventAttribute::resetEventAttribute() {
    resetObjects();
    m_interfaceObject->reset();
    resetValues();
}

void EventAttribute::copyEventLevel(const IObject* p_src) {
    copyHostLevel(p_src);
    const auto& source = *static_cast<const EventAttribute*>(p_src);
    m_eventParent = source.m_eventParent;
    m_eventString = source.m_eventString;
}

bool EventAttribute::readVariables(IObject* reader) {
    if (!getPhysicsAttributeReserved()->readVariables(reader))
        return false;
    const LevelReader in(reader);
    return in.readUInt32(ZOR_VARIABLE_NAME("eventParent"), m_eventParent) &&
           in.readString(ZOR_VARIABLE_NAME("eventString"), m_eventString);
}

bool EventAttribute::writeVariables(IObject* writer, uint8 skipOwn, uint8 typedMode, uint64 context) {
    if (!getPhysicsAttributeReserved()->writeVariables(writer, skipOwn, typedMode, context))
        return false;
    const LevelWriter out(writer, skipOwn, typedMode, context);
    if (!out.takesOwnVariables())
        return true;
    return out.writeUInt32(ZOR_VARIABLE_NAME("eventParent"), m_eventParent) &&
           out.writeString(ZOR_VARIABLE_NAME("eventString"), m_eventString);
}

} // namespace zor
