#include "common/memory/RefCountedData.h"

#include <atomic>
#include <cstdlib>

namespace zor {
namespace {

uint32* newCounter() {
    auto* counter = static_cast<uint32*>(std::malloc(sizeof(uint32)));
    if (counter == nullptr)
        std::abort();
    *counter = 0;
    return counter;
}

} // namespace

RefCountedData::RefCountedData() : m_referenceCounter(newCounter()), m_freeReferenceCounter(&std::free) {}

RefCountedData::RefCountedData(const RefCountedData&) : RefCountedData() {}

RefCountedData::~RefCountedData() { m_freeReferenceCounter(m_referenceCounter); }

void RefCountedData::deletingDestructor(uint32 flags) {
    this->~RefCountedData();
    if (flags & 1u)
        RefCountedData::operator delete(this);
}

RefCountedData* RefCountedData::create() const { return new RefCountedData(); }

RefCountedData* RefCountedData::retain() {
    std::atomic_ref<uint32>(*m_referenceCounter).fetch_add(1, std::memory_order_relaxed);
    return this;
}

void RefCountedData::release() {
    if (std::atomic_ref<uint32>(*m_referenceCounter).fetch_sub(1, std::memory_order_acq_rel) == 0)
        deletingDestructor(1);
}

uint32 RefCountedData::referenceCount() const {
    return std::atomic_ref<uint32>(*m_referenceCounter).load(std::memory_order_relaxed);
}

} // namespace zor
