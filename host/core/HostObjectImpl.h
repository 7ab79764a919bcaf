#pragma once

// Definitions of HostObjectOf; included by HostObject.h.

#include "common/object/Identifiers.h"
#include "common/variables/VariableReference.h"
#include "common/variables/VariableType.h"

#include <type_traits>

namespace zor {
namespace hostobject_detail {

/// A process-wide identifier for each new host object.
uint64 nextObjectId();

// The variables of the host "Object", in the order they are listed.
inline constexpr const char* kVariableNames[] = {"name", "flags"};
inline constexpr int32 kVariableTypes[] = {VariableTypeString, VariableTypeUInt32};
inline constexpr uint32 kVariableCount = 2;

inline uint32 variableIndex(const String& name) {
    for (uint32 i = 0; i < kVariableCount; ++i)
        if (name == kVariableNames[i])
            return i;
    return kVariableCount;
}

inline uint64 indexOf(const Array<IObject*>& objects, const IObject* object) {
    for (uint64 i = 0; i < objects.size(); ++i)
        if (objects[i] == object)
            return i;
    return objects.size();
}

} // namespace hostobject_detail

template <typename Interface>
HostObjectOf<Interface>::HostObjectOf() : m_objectId(hostobject_detail::nextObjectId()) {}

template <typename Interface>
HostObjectOf<Interface>::~HostObjectOf() {
    for (IObject* child : m_children) {
        child->setParent(nullptr);
        child->release();
    }
}

template <typename Interface>
IObject* HostObjectOf<Interface>::create() {
    if constexpr (std::is_abstract_v<HostObjectOf>)
        return nullptr; // an interface with operations of its own: its concrete class creates it
    else
        return new HostObjectOf();
}

template <typename Interface>
const GUID_t& HostObjectOf<Interface>::classGuid() {
    return guids::kHostObject;
}

template <typename Interface>
void* HostObjectOf<Interface>::getUserData() const {
    return m_userData;
}

template <typename Interface>
void HostObjectOf<Interface>::setUserData(void* data) {
    m_userData = data;
}

template <typename Interface>
void HostObjectOf<Interface>::copy(const IObject* p_src) {
    if (p_src == nullptr || p_src == this)
        return;
    m_name = p_src->getName();
    m_flags = p_src->getFlags();
}

template <typename Interface>
IObject* HostObjectOf<Interface>::clone() const {
    if constexpr (std::is_abstract_v<HostObjectOf>) {
        return nullptr; // concrete classes of other interfaces clone themselves
    } else {
        auto* copied = new HostObjectOf();
        copied->copy(this);
        return copied;
    }
}

template <typename Interface>
void HostObjectOf<Interface>::reset() {
    m_name.clear();
    m_flags = 0;
}

template <typename Interface>
const String& HostObjectOf<Interface>::getTypeName() const {
    static const String typeName("Object");
    return typeName;
}

template <typename Interface>
const String& HostObjectOf<Interface>::getTemplateTypeName() const {
    static const String none;
    return none;
}

template <typename Interface>
int32 HostObjectOf<Interface>::getTemplateType() const {
    return 0;
}

template <typename Interface>
uint32 HostObjectOf<Interface>::getTemplateTypeSize() const {
    return 0;
}

template <typename Interface>
const GUID_t* HostObjectOf<Interface>::getGUID() const {
    return &classGuid();
}

template <typename Interface>
bool HostObjectOf<Interface>::isTypeOf(const GUID_t& guid) const {
    return guid == classGuid();
}

template <typename Interface>
IObject* HostObjectOf<Interface>::castTo(const GUID_t& guid) {
    return isTypeOf(guid) ? this : nullptr;
}

template <typename Interface>
const String& HostObjectOf<Interface>::getName() const {
    return m_name;
}

template <typename Interface>
void HostObjectOf<Interface>::setName(const String& name) {
    m_name = name;
}

template <typename Interface>
IObject* HostObjectOf<Interface>::getParent() const {
    return m_parent;
}

template <typename Interface>
void HostObjectOf<Interface>::setParent(IObject* parent) {
    m_parent = parent;
}

template <typename Interface>
uint32 HostObjectOf<Interface>::getFlags() const {
    return m_flags;
}

template <typename Interface>
void HostObjectOf<Interface>::setFlags(uint32 flags) {
    m_flags = flags;
}

template <typename Interface>
bool HostObjectOf<Interface>::handleEvent(IObject* event, IObject* sender) {
    return m_parent != nullptr && m_parent->handleEvent(event, sender);
}

template <typename Interface>
bool HostObjectOf<Interface>::read(IObject*) {
    return true;
}

template <typename Interface>
bool HostObjectOf<Interface>::write(IObject*, uint8, uint64) {
    return true;
}

template <typename Interface>
uint32 HostObjectOf<Interface>::getVariableCount() const {
    return hostobject_detail::kVariableCount;
}

template <typename Interface>
const char* HostObjectOf<Interface>::getVariableName(uint32 index) const {
    return index < hostobject_detail::kVariableCount ? hostobject_detail::kVariableNames[index] : nullptr;
}

template <typename Interface>
int32 HostObjectOf<Interface>::getVariableType(const String& name) const {
    const uint32 index = hostobject_detail::variableIndex(name);
    return index < hostobject_detail::kVariableCount ? hostobject_detail::kVariableTypes[index] : 0;
}

template <typename Interface>
VariableReference* HostObjectOf<Interface>::getVariableReference(const String& name) {
    void* const members[] = {&m_name, &m_flags};
    const uint32 index = hostobject_detail::variableIndex(name);
    return index < hostobject_detail::kVariableCount
               ? new VariableReference(hostobject_detail::kVariableTypes[index], members[index])
               : nullptr;
}

template <typename Interface>
uint32 HostObjectOf<Interface>::getReferenceCount() const {
    return m_referenceCount.load(std::memory_order_relaxed);
}

template <typename Interface>
IObject* HostObjectOf<Interface>::retain() {
    m_referenceCount.fetch_add(1, std::memory_order_relaxed);
    return this;
}

template <typename Interface>
void HostObjectOf<Interface>::release() {
    if (m_referenceCount.fetch_sub(1, std::memory_order_acq_rel) == 0)
        deletingDestructor(1);
}

template <typename Interface>
uint64 HostObjectOf<Interface>::getObjectId() const {
    return m_objectId;
}

template <typename Interface>
uint32 HostObjectOf<Interface>::getChildCount() const {
    return static_cast<uint32>(m_children.size());
}

template <typename Interface>
IObject* HostObjectOf<Interface>::getChild(uint32 index) const {
    return index < m_children.size() ? m_children[index] : nullptr;
}

template <typename Interface>
bool HostObjectOf<Interface>::addChild(IObject* child) {
    // A child has one parent, and an ancestor cannot become a child: no cycles.
    if (child == nullptr || child->getParent() != nullptr || child == this || child == getWrapper() ||
        isDescendantOf(child))
        return false;
    m_children.pushBack(child->retain());
    child->setParent(getWrapper());
    return true;
}

template <typename Interface>
bool HostObjectOf<Interface>::removeChild(IObject* child) {
    const uint64 index = hostobject_detail::indexOf(m_children, child);
    if (index == m_children.size())
        return false;
    m_children.remove(index, 1, false);
    child->setParent(nullptr);
    child->release();
    return true;
}

template <typename Interface>
IObject* HostObjectOf<Interface>::findChild(const String& name) const {
    for (IObject* child : m_children)
        if (child->getName() == name)
            return child;
    return nullptr;
}

template <typename Interface>
IObject* HostObjectOf<Interface>::getRoot() {
    IObject* node = getWrapper();
    while (node->getParent() != nullptr)
        node = node->getParent();
    return node;
}

template <typename Interface>
IObject* HostObjectOf<Interface>::getWrapper() const {
    return m_wrapper != nullptr ? m_wrapper : const_cast<HostObjectOf*>(this);
}

template <typename Interface>
void HostObjectOf<Interface>::setWrapper(IObject* wrapper) {
    m_wrapper = wrapper;
}

template <typename Interface>
bool HostObjectOf<Interface>::addEventListener(IObject* listener) {
    if (listener == nullptr || hostobject_detail::indexOf(m_listeners, listener) != m_listeners.size())
        return false;
    return m_listeners.pushBack(listener);
}

template <typename Interface>
bool HostObjectOf<Interface>::removeEventListener(IObject* listener) {
    const uint64 index = hostobject_detail::indexOf(m_listeners, listener);
    return index != m_listeners.size() && m_listeners.remove(index, 1, false);
}

template <typename Interface>
uint32 HostObjectOf<Interface>::notifyEventListeners(IObject* event, IObject* sender) {
    // A listener may remove itself or others while it handles the event: walk a snapshot.
    const Array<IObject*> listeners(m_listeners);
    uint32 handled = 0;
    for (IObject* listener : listeners)
        if (listener->handleEvent(event, sender))
            ++handled;
    return handled;
}

template <typename Interface>
bool HostObjectOf<Interface>::isDescendantOf(const IObject* ancestor) const {
    for (const IObject* node = m_parent; node != nullptr; node = node->getParent())
        if (node == ancestor)
            return true;
    return false;
}

} // namespace zor
