#include "physics/attributes/HitTestAttribute.h"

#include "common/log/Log.h"
#include "common/object/Identifiers.h"

namespace zor {

HitTestAttribute::HitTestAttribute() {
    initObjectInterface();
    m_reserved = new HitTestAttributeReserved(this);
}

HitTestAttribute::~HitTestAttribute() {
    resetObjects();
    m_reserved->destroy();
}

void HitTestAttribute::copy(const IObject* p_src) {
    copyLevels(m_reserved, p_src);
}

IObject* HitTestAttribute::clone() const {
    auto* copied = new HitTestAttribute();
    copied->copy(this);
    return copied;
}

void HitTestAttribute::reset() {
    resetEventAttribute();
}

const String& HitTestAttribute::getTypeName() const {
    static const String typeName("HitTestAttribute");
    return typeName;
}

const GUID_t* HitTestAttribute::getGUID() const {
    return &guids::kHitTestAttribute;
}

bool HitTestAttribute::isTypeOf(const GUID_t& guid) const {
    return isTypeOfClass(guid, guids::kHitTestAttribute);
}

IObject* HitTestAttribute::castTo(const GUID_t& guid) {
    return castToClass(guid, guids::kHitTestAttribute);
}

bool HitTestAttribute::read(IObject* reader) {
    return readLevels(m_reserved, reader);
}

bool HitTestAttribute::write(IObject* writer, uint8 typedMode, uint64 context) {
    return writeLevels(m_reserved, writer, typedMode, context);
}

HitTestAttributeReserved* HitTestAttribute::getHitTestAttributeReserved() {
    return m_reserved;
}

void HitTestAttribute::copy_Backwards(const IObject* p_src) {
    zor_assert(p_src != NULL);
    copyEventLevel(p_src);
}

} // namespace zor
