#include "common/object/WObject.h"

#include "common/log/Log.h"
#include "common/memory/ReferenceCounter.h"
#include "common/object/Guid.h"
#include "common/object/ObjectFactory.h"

namespace zor {

WObject::WObject()
    : m_interfaceObject(nullptr), m_referenceCounter(newReferenceCounter()),
      m_freeReferenceCounter(&std::free) {}

WObject::~WObject() {
    zor_assert(m_interfaceObject != NULL);
    m_interfaceObject->release();
    m_freeReferenceCounter(m_referenceCounter);
}

void WObject::initObjectInterface() {
    if (m_interfaceObject == nullptr) {
        m_interfaceObject = zor_createObject();
        if (m_interfaceObject != nullptr) {
            m_interfaceObject->setWrapper(this);
            return;
        }
    }
    zor_assert(m_interfaceObject != NULL);
}

IObject* WObject::castToClass(const GUID_t& guid, const GUID_t& classGuid) {
    if (guid == classGuid)
        return this;
    return m_interfaceObject->castTo(guid);
}

uint32 WObject::getReferenceCount() const {
    return referenceCounterValue(m_referenceCounter);
}

IObject* WObject::retain() {
    incrementReferenceCounter(m_referenceCounter);
    return this;
}

void WObject::release() {
    if (decrementReferenceCounter(m_referenceCounter))
        deletingDestructor(1);
}

// Everything below hands the call to the same operation of the host object.

void* WObject::getUserData() const {
    return m_interfaceObject->getUserData();
}

void WObject::copy(const IObject* p_src) {
    m_interfaceObject->copy(p_src);
}

IObject* WObject::clone() const {
    return m_interfaceObject->clone();
}

void WObject::reset() {
    m_interfaceObject->reset();
}

const String& WObject::getTypeName() const {
    return m_interfaceObject->getTypeName();
}

const String& WObject::getTemplateTypeName() const {
    return m_interfaceObject->getTemplateTypeName();
}

int32 WObject::getTemplateType() const {
    return m_interfaceObject->getTemplateType();
}

uint32 WObject::getTemplateTypeSize() const {
    return m_interfaceObject->getTemplateTypeSize();
}

const GUID_t* WObject::getGUID() const {
    return m_interfaceObject->getGUID();
}

bool WObject::isTypeOf(const GUID_t& guid) const {
    return m_interfaceObject->isTypeOf(guid);
}

IObject* WObject::castTo(const GUID_t& guid) {
    return m_interfaceObject->castTo(guid);
}

const String& WObject::getName() const {
    return m_interfaceObject->getName();
}

void WObject::setName(const String& name) {
    m_interfaceObject->setName(name);
}

IObject* WObject::getParent() const {
    return m_interfaceObject->getParent();
}

void WObject::setParent(IObject* parent) {
    m_interfaceObject->setParent(parent);
}

uint32 WObject::getFlags() const {
    return m_interfaceObject->getFlags();
}

void WObject::setFlags(uint32 flags) {
    m_interfaceObject->setFlags(flags);
}

bool WObject::handleEvent(IObject* event, IObject* sender) {
    return m_interfaceObject->handleEvent(event, sender);
}

bool WObject::read(IObject* reader) {
    return m_interfaceObject->read(reader);
}

bool WObject::write(IObject* writer, uint8 typedMode, uint64 context) {
    return m_interfaceObject->write(writer, typedMode, context);
}

uint32 WObject::getVariableCount() const {
    return m_interfaceObject->getVariableCount();
}

const char* WObject::getVariableName(uint32 index) const {
    return m_interfaceObject->getVariableName(index);
}

int32 WObject::getVariableType(const String& name) const {
    return m_interfaceObject->getVariableType(name);
}

VariableReference* WObject::getVariableReference(const String& name) {
    return m_interfaceObject->getVariableReference(name);
}

uint64 WObject::getObjectId() const {
    return m_interfaceObject->getObjectId();
}

uint32 WObject::getChildCount() const {
    return m_interfaceObject->getChildCount();
}

IObject* WObject::getChild(uint32 index) const {
    return m_interfaceObject->getChild(index);
}

bool WObject::addChild(IObject* child) {
    return m_interfaceObject->addChild(child);
}

bool WObject::removeChild(IObject* child) {
    return m_interfaceObject->removeChild(child);
}

IObject* WObject::findChild(const String& name) const {
    return m_interfaceObject->findChild(name);
}

IObject* WObject::getRoot() {
    return m_interfaceObject->getRoot();
}

IObject* WObject::getWrapper() const {
    return m_interfaceObject->getWrapper();
}

bool WObject::addEventListener(IObject* listener) {
    return m_interfaceObject->addEventListener(listener);
}

bool WObject::removeEventListener(IObject* listener) {
    return m_interfaceObject->removeEventListener(listener);
}

uint32 WObject::notifyEventListeners(IObject* event, IObject* sender) {
    return m_interfaceObject->notifyEventListeners(event, sender);
}

void WObject::setWrapper(IObject* wrapper) {
    m_interfaceObject->setWrapper(wrapper);
}

void WObject::setUserData(void* data) {
    m_interfaceObject->setUserData(data);
}

bool WObject::isDescendantOf(const IObject* ancestor) const {
    return m_interfaceObject->isDescendantOf(ancestor);
}

} // namespace zor
