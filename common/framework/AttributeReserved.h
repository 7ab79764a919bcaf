#pragma once

#include "common/framework/IAttributeReserved.h"
#include "common/memory/MemoryBlock.h"

namespace zor {

/// The companion of one level of a physics attribute (`HitTestAttributeReserved` is
/// `AttributeReserved<HitTestAttribute>`, and so on): it points back at the object of that level,
/// which owns it, and hands each operation to the object's own part of it (non-virtual members
/// of the same names: resetValues, resetObjects, copy_Backwards, readVariables, writeVariables).
template <typename Attribute>
class AttributeReserved final : public IAttributeReserved {
public:
    ZOR_BLOCK_ALLOCATED

    explicit AttributeReserved(Attribute* owner) : m_owner(owner) {}

    ZOR_DELETING_DESTRUCTOR(AttributeReserved)
    void resetValues() override { m_owner->resetValues(); }
    void resetObjects() override { m_owner->resetObjects(); }
    void copy_Backwards(const IObject* p_src) override { m_owner->copy_Backwards(p_src); }
    bool readVariables(IObject* reader) override { return m_owner->readVariables(reader); }
    bool writeVariables(IObject* writer, uint8 skipOwn, uint8 typedMode, uint64 context) override {
        return m_owner->writeVariables(writer, skipOwn, typedMode, context);
    }
    void destroy() override { deletingDestructor(1); }

    /// The object this companion belongs to.
    Attribute* getOwner() const { return m_owner; }

private:
    ~AttributeReserved() = default;

    Attribute* m_owner;
};

} // namespace zor
