#include "physics/attributes/WPhysicsAttribute.h"

#include "common/framework/IPhysicsAttributeLevel.h"
#include "common/log/Log.h"
#include "common/object/ObjectFactory.h"
#include "common/variables/LevelWriter.h"

namespace zor {

namespace {

IPhysicsAttributeLevel* hostLevelOf(IObject* hostObject) {
    return static_cast<IPhysicsAttributeLevel*>(hostObject);
}

} // namespace

IAttributeReserved* WPhysicsAttribute::getPhysicsAttributeReserved() {
    return hostLevelOf(m_interfaceObject)->getPhysicsAttributeReserved();
}

void WPhysicsAttribute::initObjectInterface() {
    if (m_interfaceObject != nullptr)
        return;
    IObject* interfacePhysicsAttribute = zor_createPhysicsAttribute();
    if (interfacePhysicsAttribute != nullptr) {
        interfacePhysicsAttribute->setWrapper(this);
        m_interfaceObject = interfacePhysicsAttribute;
        return;
    }
    // The framework reports this check as its own.
    zor_assert_in("common", "zor::WPhysicsAttribute::initObjectInterface", interfacePhysicsAttribute != NULL);
}

void WPhysicsAttribute::copyLevels(IAttributeReserved* ownLevel, const IObject* p_src) {
    // The reset would wipe the very members that are to be copied.
    if (p_src == this)
        return;
    reset();
    ownLevel->copy_Backwards(p_src);
}

bool WPhysicsAttribute::readLevels(IAttributeReserved* ownLevel, IObject* reader) {
    reset();
    return ownLevel->readVariables(reader);
}

bool WPhysicsAttribute::writeLevels(IAttributeReserved* ownLevel, IObject* writer, uint8 typedMode,
                                    uint64 context) {
    return LevelWriter::writeLevels(ownLevel, writer, typedMode, context);
}

void WPhysicsAttribute::copyHostLevel(const IObject* p_src) {
    const IObject* sourceHostObject = static_cast<const WPhysicsAttribute*>(p_src)->m_interfaceObject;
    hostLevelOf(m_interfaceObject)->getPhysicsAttributeReserved()->copy_Backwards(sourceHostObject);
}

bool WPhysicsAttribute::handleEventThroughHost(IObject* event, IObject* sender) {
    m_interfaceObject->notifyEventListeners(event, sender);
    return m_interfaceObject->handleEvent(event, sender);
}

} // namespace zor
