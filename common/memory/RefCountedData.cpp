#include "common/memory/RefCountedData.h"

#include "common/memory/ReferenceCounter.h"

namespace zor {

RefCountedData::RefCountedData(const RefCountedData&) : RefCountedData() {}

void RefCountedData::deletingDestructor(uint32 flags) {
    this->RefCountedData::~RefCountedData();
    if (flags & 1u)
        RefCountedData::operator delete(this);
}

RefCountedData* RefCountedData::create() const {
    return new RefCountedData();
}

RefCountedData* RefCountedData::retain() {
    incrementReferenceCounter(m_referenceCounter);
    return this;
}

void RefCountedData::release() {
    if (decrementReferenceCounter(m_referenceCounter))
        deletingDestructor(1);
}

uint32 RefCountedData::referenceCount() const {
    return referenceCounterValue(m_referenceCounter);
}

} // namespace zor
