#pragma once

#include "common/framework/AttributeReserved.h"
#include "common/memory/SlotArena.h"
#include "physics/attributes/Attribute3D.h"
#include "physics/attributes/EventAttribute.h"

namespace zor {

template <typename T>
class Collision3DAttribute;

/// The companion of Collision3DAttribute<T>.
template <typename T>
using Collision3DAttributeReserved = AttributeReserved<Collision3DAttribute<T>>;

/// Makes an element of a 3D scene take part in collision detection: a collision is reported to
/// the element `getEventParent()` levels up, carrying `getEventString()`. T (float or double)
/// names the number type of the scene.
template <typename T>
class Collision3DAttribute final : public Attribute3D<T, EventAttribute> {
public:
    // As the rigid-body attributes: together, in the order they are made.
    ZOR_ARENA_ALLOCATED(Collision3DAttribute)

    /// Event parent 1, empty event string.
    Collision3DAttribute();

    ZOR_DELETING_DESTRUCTOR(Collision3DAttribute)
    void copy(const IObject* p_src) override;
    IObject* clone() const override;
    void reset() override;
    /// "Collision3DAttribute{float}" or "Collision3DAttribute{double}".
    const String& getTypeName() const override;
    const GUID_t* getGUID() const override;
    bool isTypeOf(const GUID_t& guid) const override;
    IObject* castTo(const GUID_t& guid) override;
    bool read(IObject* reader) override;
    bool write(IObject* writer, uint8 typedMode, uint64 context) override;

    /// Slot 47: this class's companion.
    virtual Collision3DAttributeReserved<T>* getCollision3DAttributeReserved();

    /// The level below, then the event members from `p_src`.
    void copy_Backwards(const IObject* p_src);

protected:
    ~Collision3DAttribute();

private:
    Collision3DAttributeReserved<T>* m_reserved;
};

extern template class Collision3DAttribute<float>;
extern template class Collision3DAttribute<double>;

} // namespace zor
