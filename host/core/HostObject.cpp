#include "host/core/HostObject.h"

#include "common/object/Identifiers.h"
#include "common/variables/VariableReference.h"
#include "common/variables/VariableType.h"

#include <cstring>

namespace zor {
namespace {

std::atomic<uint64> g_nextObjectId{1};

// The variables of the host "Object", in the order they are listed.
constexpr const char* kVariableNames[] = {"name", "flags"};
constexpr int32 kVariableTypes[] = {VariableTypeString, VariableTypeUInt32};
constexpr uint32 kVariableCount = 2;

uint32 variableIndex(const String& name) {
    for (uint32 i = 0; i < kVariableCount; ++i)
        if (name == kVariableNames[i])
            return i;
    return kVariableCount;
}

uint64 indexOf(const Array<IObject*>& objects, const IObject* object) {
    for (uint64 i = 0; i < objects.size(); ++i)
        if (objects[i] == object)
            return i;
    return objects.size();
}

} // namespace

HostObject::HostObject() : m_objectId(g_nextObjectId.fetch_add(1, std::memory_order_relaxed)) {}

HostObject::~HostObject() {
    for (IObject* child : m_children) {
        child->setParent(nullptr);
        child->release();
    }
}

IObject* HostObject::create() {
    return new HostObject();
}

const GUID_t& HostObject::classGuid() {
    return guids::kHostObject;
}

void* HostObject::getUserData() const {
    return m_userData;
}

void HostObject::setUserData(void* data) {
    m_userData = data;
}

void HostObject::copy(const IObject* p_src) {
    if (p_src == nullptr || p_src == this)
        return;
    m_name = p_src->getName();
    m_flags = p_src->getFlags();
}

IObject* HostObject::clone() const {
    auto* copied = new HostObject();
    copied->copy(this);
    return copied;
}

void HostObject::reset() {
    m_name.clear();
    m_flags = 0;
}

const String& HostObject::getTypeName() const {
    static const String typeName("Object");
    return typeName;
}

const String& HostObject::getTemplateTypeName() const {
    static const String none;
    return none;
}

int32 HostObject::getTemplateType() const {
    return 0;
}

uint32 HostObject::getTemplateTypeSize() const {
    return 0;
}

const GUID_t* HostObject::getGUID() const {
    return &classGuid();
}

bool HostObject::isTypeOf(const GUID_t& guid) const {
    return guid == classGuid();
}

IObject* HostObject::castTo(const GUID_t& guid) {
    return isTypeOf(guid) ? this : nullptr;
}

const String& HostObject::getName() const {
    return m_name;
}

void HostObject::setName(const String& name) {
    m_name = name;
}

IObject* HostObject::getParent() const {
    return m_parent;
}

void HostObject::setParent(IObject* parent) {
    m_parent = parent;
}

uint32 HostObject::getFlags() const {
    return m_flags;
}

void HostObject::setFlags(uint32 flags) {
    m_flags = flags;
}

bool HostObject::handleEvent(IObject* event, IObject* sender) {
    return m_parent != nullptr && m_parent->handleEvent(event, sender);
}

bool HostObject::read(IObject*) {
    return true;
}

bool HostObject::write(IObject*, uint8, uint64) {
    return true;
}

uint32 HostObject::getVariableCount() const {
    return kVariableCount;
}

const char* HostObject::getVariableName(uint32 index) const {
    return index < kVariableCount ? kVariableNames[index] : nullptr;
}

int32 HostObject::getVariableType(const String& name) const {
    const uint32 index = variableIndex(name);
    return index < kVariableCount ? kVariableTypes[index] : 0;
}

VariableReference* HostObject::getVariableReference(const String& name) {
    void* const members[] = {&m_name, &m_flags};
    const uint32 index = variableIndex(name);
    return index < kVariableCount ? new VariableReference(kVariableTypes[index], members[index]) : nullptr;
}

uint32 HostObject::getReferenceCount() const {
    return m_referenceCount.load(std::memory_order_relaxed);
}

IObject* HostObject::retain() {
    m_referenceCount.fetch_add(1, std::memory_order_relaxed);
    return this;
}

void HostObject::release() {
    if (m_referenceCount.fetch_sub(1, std::memory_order_acq_rel) == 0)
        deletingDestructor(1);
}

uint64 HostObject::getObjectId() const {
    return m_objectId;
}

uint32 HostObject::getChildCount() const {
    return static_cast<uint32>(m_children.size());
}

IObject* HostObject::getChild(uint32 index) const {
    return index < m_children.size() ? m_children[index] : nullptr;
}

bool HostObject::addChild(IObject* child) {
    // A child has one parent, and an ancestor cannot become a child: no cycles.
    if (child == nullptr || child->getParent() != nullptr || child == this || child == getWrapper() ||
        isDescendantOf(child))
        return false;
    m_children.pushBack(child->retain());
    child->setParent(getWrapper());
    return true;
}

bool HostObject::removeChild(IObject* child) {
    const uint64 index = indexOf(m_children, child);
    if (index == m_children.size())
        return false;
    m_children.remove(index, 1, false);
    child->setParent(nullptr);
    child->release();
    return true;
}

IObject* HostObject::findChild(const String& name) const {
    for (IObject* child : m_children)
        if (child->getName() == name)
            return child;
    return nullptr;
}

IObject* HostObject::getRoot() {
    IObject* node = getWrapper();
    while (node->getParent() != nullptr)
        node = node->getParent();
    return node;
}

IObject* HostObject::getWrapper() const {
    return m_wrapper != nullptr ? m_wrapper : const_cast<HostObject*>(this);
}

void HostObject::setWrapper(IObject* wrapper) {
    m_wrapper = wrapper;
}

bool HostObject::addEventListener(IObject* listener) {
    if (listener == nullptr || indexOf(m_listeners, listener) != m_listeners.size())
        return false;
    return m_listeners.pushBack(listener);
}

bool HostObject::removeEventListener(IObject* listener) {
    const uint64 index = indexOf(m_listeners, listener);
    return index != m_listeners.size() && m_listeners.remove(index, 1, false);
}

uint32 HostObject::notifyEventListeners(IObject* event, IObject* sender) {
    // A listener may remove itself or others while it handles the event: walk a snapshot.
    const Array<IObject*> listeners(m_listeners);
    uint32 handled = 0;
    for (IObject* listener : listeners)
        if (listener->handleEvent(event, sender))
            ++handled;
    return handled;
}

bool HostObject::isDescendantOf(const IObject* ancestor) const {
    for (const IObject* node = m_parent; node != nullptr; node = node->getParent())
        if (node == ancestor)
            return true;
    return false;
}

} // namespace zor
