#pragma once

#include "common/containers/String.h"
#include "common/memory/MemoryBlock.h"

namespace zor {

class IElement;

/// What a 2D hit test reports: the element that was hit, the text of the event, the docking-
/// layout separator that was hit (0 for an element hit) and the element the event is addressed
/// to. It holds a reference on both elements until it is destroyed; whoever receives it owns it.
class HitTestEvent {
public:
    ZOR_BLOCK_ALLOCATED

    /// Takes a reference on `element` and on `target` (which may be null) and copies the text.
    HitTestEvent(IElement* element, const String& eventString, uint32 separatorIndex, IElement* target,
                 bool passive);

    /// Slot 0: drops the references on the elements; bit 0 of `flags` also frees the event.
    virtual void deletingDestructor(uint32 flags);
    /// Slot 1: the element that was hit.
    virtual IElement* getElement() const;
    /// Slot 2.
    virtual const String& getEventString() const;
    /// Slot 3: the index of the separator that was hit; 0 for an element hit.
    virtual uint32 getSeparatorIndex() const;
    /// Slot 4: the element the event is addressed to, or null.
    virtual IElement* getTarget() const;
    /// Slot 5: true when the hit element's state reports neither of its two activity flags.
    virtual bool isPassive() const;
    /// Slot 6: ends the event.
    virtual void destroy();

protected:
    ~HitTestEvent();

private:
    IElement* m_element;
    String m_eventString;
    uint32 m_separatorIndex;
    IElement* m_target;
    uint8 m_passive;
};

} // namespace zor
