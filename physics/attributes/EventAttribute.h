#pragma once

#include "common/containers/String.h"
#include "physics/attributes/WPhysicsAttribute.h"

namespace zor {

/// The members that the hit-test and collision attributes share: to which element an event is
/// addressed and which text it carries. Each of the two classes adds its identity and its
/// companion; this level's reset, read and write are theirs unchanged.
class EventAttribute : public WPhysicsAttribute {
public:
    ZOR_DELETING_DESTRUCTOR(EventAttribute)

    /// Slot 43: the number of levels up from the element to the element an event is addressed
    /// to (0: the element itself).
    virtual uint32 getEventParent() const;
    /// Slot 44.
    virtual void setEventParent(uint32 value);
    /// Slot 45: the text an event carries.
    virtual const String& getEventString() const;
    /// Slot 46: assigns a copy.
    virtual void setEventString(const String& value);

    /// The event parent to 1.
    void resetValues();
    /// The event string emptied.
    void resetObjects();
    /// The level below, then "eventParent" and "eventString"; false at the first refusal.
    bool readVariables(IObject* reader);
    /// The level below, then "eventParent" and "eventString", as far as the pass takes them.
    bool writeVariables(IObject* writer, uint8 skipOwn, uint8 typedMode, uint64 context);

protected:
    /// Event parent 1, empty event string; the class then binds its host object.
    EventAttribute();
    ~EventAttribute() = default;

    /// copy_Backwards of the two classes after their check of the source: the level below, then
    /// the event parent and the event string.
    void copyEventLevel(const IObject* p_src);

    /// reset of the two classes.
    void resetEventAttribute();

private:
    uint32 m_eventParent;
    String m_eventString;
};

} // namespace zor
