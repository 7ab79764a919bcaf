#pragma once

#include "common/Types.h"

namespace zor {

class String;
class VariableReference;
struct GUID_t;

/// The host's object interface: 42 operations in a fixed slot order, shared by the host's own
/// objects and by the module's wrappers (WObject), which forward to a host object whatever they
/// do not implement themselves.
///
/// Besides the identity, copying, persistence and reference-counting operations, the host's
/// objects provide the operations below, which this code only forwards:
///   - naming and flags (12-17): every object has a name and 32 flag bits of the host's use;
///   - a hierarchy (14, 15, 29-34, 41): an object holds its children with a reference each and
///     knows its parent without one; addChild and removeChild keep both sides of the link;
///   - named variables (21-24): each object lists its variables by name and type code and hands
///     out a VariableReference to any of them, so that the host can change them by name;
///   - events (18, 36-38): listeners are registered without a reference; the host delivers an
///     event by notifying the listeners (38) and then letting the object handle it (18), and a
///     wrapper that overrides slot 18 does the same two calls on its host object;
///   - a wrapper link (35, 39) and an opaque data pointer of the host's (1, 40).
class IObject {
public:
    /// Slot 0: ends the object; bit 0 of `flags` also frees its memory.
    virtual void deletingDestructor(uint32 flags) = 0;
    /// Slot 1: the host record attached to the object (holders answer with what they hold).
    virtual void* getUserData() const = 0;
    /// Slot 2: copies the state of `p_src` into this object.
    virtual void copy(const IObject* p_src) = 0;
    /// Slot 3: a new object of the same class holding a copy of this one (one owner: the caller).
    virtual IObject* clone() const = 0;
    /// Slot 4: back to the default state.
    virtual void reset() = 0;
    /// Slot 5: the class's type name ("PhysicsEngine3D", "RigidBody3DAttribute{float}").
    virtual const String& getTypeName() const = 0;
    /// Slot 6: "float" or "double" for template classes; the host's name otherwise.
    virtual const String& getTemplateTypeName() const = 0;
    /// Slot 7: the variable type code of the template argument (10 float, 11 double).
    virtual int32 getTemplateType() const = 0;
    /// Slot 8: the size in bytes of the template argument (4 or 8).
    virtual uint32 getTemplateTypeSize() const = 0;
    /// Slot 9: the class's identifier.
    virtual const GUID_t* getGUID() const = 0;
    /// Slot 10: true when the object is of the class or interface `guid`.
    virtual bool isTypeOf(const GUID_t& guid) const = 0;
    /// Slot 11: the object seen as the class or interface `guid`, or null.
    virtual IObject* castTo(const GUID_t& guid) = 0;
    /// Slot 12.
    virtual const String& getName() const = 0;
    /// Slot 13.
    virtual void setName(const String& name) = 0;
    /// Slot 14: the parent in the hierarchy (no reference is added), or null.
    virtual IObject* getParent() const = 0;
    /// Slot 15: sets the parent link alone; use addChild to link both sides.
    virtual void setParent(IObject* parent) = 0;
    /// Slot 16: the host's flag bits.
    virtual uint32 getFlags() const = 0;
    /// Slot 17.
    virtual void setFlags(uint32 flags) = 0;
    /// Slot 18: the object's own reaction to an event from `sender`; true when it was handled.
    virtual bool handleEvent(IObject* event, IObject* sender) = 0;
    /// Slot 19: reads the object's variables from a host reader.
    virtual bool read(IObject* reader) = 0;
    /// Slot 20: writes the object's variables to a host writer (`context` is passed through).
    virtual bool write(IObject* writer, uint8 typedMode, uint64 context) = 0;
    /// Slot 21: the number of named variables.
    virtual uint32 getVariableCount() const = 0;
    /// Slot 22: the name of variable `index`, or null past the last one.
    virtual const char* getVariableName(uint32 index) const = 0;
    /// Slot 23: the type code of the named variable, or 0 when there is none.
    virtual int32 getVariableType(const String& name) const = 0;
    /// Slot 24: a new reference to the named variable (the caller destroys it), or null.
    virtual VariableReference* getVariableReference(const String& name) = 0;
    /// Slot 25: the reference counter (0: one owner).
    virtual uint32 getReferenceCount() const = 0;
    /// Slot 26: adds an owner; returns the object.
    virtual IObject* retain() = 0;
    /// Slot 27: drops an owner; the last one ends the object.
    virtual void release() = 0;
    /// Slot 28: an identifier unique in the process.
    virtual uint64 getObjectId() const = 0;
    /// Slot 29.
    virtual uint32 getChildCount() const = 0;
    /// Slot 30: child `index` (no reference is added), or null.
    virtual IObject* getChild(uint32 index) const = 0;
    /// Slot 31: adopts a child without a parent (adds a reference); false for a child that has a
    /// parent, or one that would close a cycle.
    virtual bool addChild(IObject* child) = 0;
    /// Slot 32: unlinks a child and drops its reference; false when it is not a child.
    virtual bool removeChild(IObject* child) = 0;
    /// Slot 33: the first child with that name, or null.
    virtual IObject* findChild(const String& name) const = 0;
    /// Slot 34: the topmost ancestor, or this object at the top.
    virtual IObject* getRoot() = 0;
    /// Slot 35: the wrapper that owns this object, or the object itself when it has none.
    virtual IObject* getWrapper() const = 0;
    /// Slot 36: registers a listener (no reference is added); false when already registered.
    virtual bool addEventListener(IObject* listener) = 0;
    /// Slot 37: false when `listener` is not registered.
    virtual bool removeEventListener(IObject* listener) = 0;
    /// Slot 38: hands an event to every listener's handleEvent; returns how many handled it.
    virtual uint32 notifyEventListeners(IObject* event, IObject* sender) = 0;
    /// Slot 39: tells the object which wrapper owns it.
    virtual void setWrapper(IObject* wrapper) = 0;
    /// Slot 40.
    virtual void setUserData(void* data) = 0;
    /// Slot 41: true when `ancestor` is the parent, or an ancestor of the parent.
    virtual bool isDescendantOf(const IObject* ancestor) const = 0;

protected:
    ~IObject() = default;
};

} // namespace zor
