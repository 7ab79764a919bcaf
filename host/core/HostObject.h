#pragma once

#include "common/containers/Array.h"
#include "common/containers/String.h"
#include "common/object/Guid.h"
#include "common/object/IObject.h"

#include <atomic>

namespace zor {

/// The host's "Object": what the core module creates for every wrapper and the base of the
/// host's own object classes. `HostObjectOf<Interface>` implements the 42 object operations
/// under any host interface that extends IObject (reader, writer, element, scene, ...), so each
/// host class adds only the operations of its own interface. It carries a name, flag bits, an opaque data
/// pointer, a place in a hierarchy (children held with a reference, the parent without), event listeners
/// (without a reference) and the named variables "name" (String) and "flags" (uint32_t).
template <typename Interface = IObject>
class HostObjectOf : public Interface {
public:
    ZOR_BLOCK_ALLOCATED

    /// A fresh object with one owner, the caller.
    HostObjectOf();

    /// The core module's creation function.
    static IObject* create();
    /// The class identifier of the host "Object".
    static const GUID_t& classGuid();

    ZOR_DELETING_DESTRUCTOR(HostObjectOf)
    void* getUserData() const override;
    /// Copies name and flags; links, listeners and the data pointer stay.
    void copy(const IObject* p_src) override;
    IObject* clone() const override;
    /// Empty name, no flags; links, listeners and the data pointer stay.
    void reset() override;
    /// "Object".
    const String& getTypeName() const override;
    /// Empty: the host "Object" is not a template.
    const String& getTemplateTypeName() const override;
    /// 0: no template argument.
    int32 getTemplateType() const override;
    /// 0: no template argument.
    uint32 getTemplateTypeSize() const override;
    const GUID_t* getGUID() const override;
    bool isTypeOf(const GUID_t& guid) const override;
    IObject* castTo(const GUID_t& guid) override;
    const String& getName() const override;
    void setName(const String& name) override;
    IObject* getParent() const override;
    void setParent(IObject* parent) override;
    uint32 getFlags() const override;
    void setFlags(uint32 flags) override;
    /// Events rise through the hierarchy: the base object passes them to its parent.
    bool handleEvent(IObject* event, IObject* sender) override;
    /// The base object persists nothing of its own; derived host classes read their variables.
    bool read(IObject* reader) override;
    /// The base object persists nothing of its own; derived host classes write their variables.
    bool write(IObject* writer, uint8 typedMode, uint64 context) override;
    uint32 getVariableCount() const override;
    const char* getVariableName(uint32 index) const override;
    int32 getVariableType(const String& name) const override;
    VariableReference* getVariableReference(const String& name) override;
    uint32 getReferenceCount() const override;
    IObject* retain() override;
    void release() override;
    uint64 getObjectId() const override;
    uint32 getChildCount() const override;
    IObject* getChild(uint32 index) const override;
    bool addChild(IObject* child) override;
    bool removeChild(IObject* child) override;
    IObject* findChild(const String& name) const override;
    IObject* getRoot() override;
    IObject* getWrapper() const override;
    bool addEventListener(IObject* listener) override;
    bool removeEventListener(IObject* listener) override;
    uint32 notifyEventListeners(IObject* event, IObject* sender) override;
    void setWrapper(IObject* wrapper) override;
    void setUserData(void* data) override;
    bool isDescendantOf(const IObject* ancestor) const override;

protected:
    /// Unlinks and releases the children.
    ~HostObjectOf();

private:
    std::atomic<uint32> m_referenceCount{0};
    uint64 m_objectId;
    IObject* m_wrapper = nullptr;
    void* m_userData = nullptr;
    IObject* m_parent = nullptr;
    String m_name;
    uint32 m_flags = 0;
    Array<IObject*> m_children;
    Array<IObject*> m_listeners;
};

using HostObject = HostObjectOf<IObject>;
extern template class HostObjectOf<IObject>;

} // namespace zor

#include "host/core/HostObjectImpl.h"
