#pragma once

#include "common/framework/AttributeReserved.h"
#include "physics/attributes/EventAttribute.h"

namespace zor {

class HitTestAttribute;

/// The companion of HitTestAttribute.
using HitTestAttributeReserved = AttributeReserved<HitTestAttribute>;

/// Makes an element of a 2D scene hit-testable: a hit on it is reported as a HitTestEvent
/// addressed to the element `getEventParent()` levels up, carrying `getEventString()`.
class HitTestAttribute : public EventAttribute {
public:
    /// Event parent 1, empty event string.
    HitTestAttribute();

    ZOR_DELETING_DESTRUCTOR(HitTestAttribute)
    void copy(const IObject* p_src) override;
    IObject* clone() const override;
    void reset() override;
    /// "HitTestAttribute".
    const String& getTypeName() const override;
    const GUID_t* getGUID() const override;
    bool isTypeOf(const GUID_t& guid) const override;
    IObject* castTo(const GUID_t& guid) override;
    bool read(IObject* reader) override;
    bool write(IObject* writer, uint8 typedMode, uint64 context) override;

    /// Slot 47: this class's companion.
    virtual HitTestAttributeReserved* getHitTestAttributeReserved();

    /// The level below, then the event members from `p_src`.
    void copy_Backwards(const IObject* p_src);

protected:
    ~HitTestAttribute();

private:
    HitTestAttributeReserved* m_reserved;
};

} // namespace zor
