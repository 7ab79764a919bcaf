#pragma once

#include "common/memory/MemoryBlock.h"
#include "common/object/Guid.h"
#include "common/object/IObject.h"

namespace zor {

/// Base of every object of the module: owns one host object (`m_interfaceObject`, one
/// reference held) and forwards to it every operation a class does not implement itself.
/// It counts its own references: a counter of 0 is one owner, and the release that finds 0
/// ends the object. Heap only; it ends through slot 0 or release.
class WObject : public IObject {
public:
    ZOR_BLOCK_ALLOCATED

    ZOR_DELETING_DESTRUCTOR(WObject)
    void* getUserData() const override;
    void copy(const IObject* p_src) override;
    IObject* clone() const override;
    void reset() override;
    const String& getTypeName() const override;
    const String& getTemplateTypeName() const override;
    int32 getTemplateType() const override;
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
    bool handleEvent(IObject* event, IObject* sender) override;
    bool read(IObject* reader) override;
    bool write(IObject* writer, uint8 typedMode, uint64 context) override;
    uint32 getVariableCount() const override;
    const char* getVariableName(uint32 index) const override;
    int32 getVariableType(const String& name) const override;
    VariableReference* getVariableReference(const String& name) override;
    /// Slot 25: this wrapper's own counter.
    uint32 getReferenceCount() const override;
    /// Slot 26: atomic increment of this wrapper's counter; returns the wrapper.
    IObject* retain() override;
    /// Slot 27: atomic decrement; the release that finds 0 ends the wrapper through slot 0.
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

    /// Creates the host "Object" through the core module and binds it to this wrapper, unless
    /// the wrapper has one already. Without one afterwards the process ends (assertion).
    void initObjectInterface();

    /// The wrapped host object.
    IObject* getInterfaceObject() const { return m_interfaceObject; }

protected:
    /// No host object yet and a counter of 0; derived constructors call initObjectInterface.
    WObject();
    /// Releases the host object, which must exist, and frees the counter.
    ~WObject();

    /// isTypeOf of a class with identifier `classGuid`: its own identifier answers without the
    /// host object; any other goes to the host object.
    /// Inline, as the engines ask attributes for their class on every step.
    bool isTypeOfClass(const GUID_t& guid, const GUID_t& classGuid) const {
        return guid == classGuid || m_interfaceObject->isTypeOf(guid);
    }
    /// castTo of a class with identifier `classGuid`: this wrapper for its own identifier,
    /// the host object's answer for any other.
    IObject* castToClass(const GUID_t& guid, const GUID_t& classGuid);

    IObject* m_interfaceObject;
    uint32* m_referenceCounter;
    void (*m_freeReferenceCounter)(void*);
};

} // namespace zor
