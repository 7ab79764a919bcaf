#pragma once

#include "common/Types.h"

#include <atomic>
#include <cstdlib>

namespace zor {

// The reference counter shared by both object roots (RefCountedData, WObject): a 32-bit value in a
// block of its own on the system heap, 0 for one owner, freed with std::free.

/// A new counter of 0; an exhausted heap aborts the process.
inline uint32* newReferenceCounter() {
    auto* counter = static_cast<uint32*>(std::malloc(sizeof(uint32)));
    if (counter == nullptr)
        std::abort();
    *counter = 0;
    return counter;
}

/// Adds an owner.
inline void incrementReferenceCounter(uint32* counter) {
    std::atomic_ref<uint32>(*counter).fetch_add(1, std::memory_order_relaxed);
}

/// Drops an owner; true when the value before was 0, that is when the object must end.
inline bool decrementReferenceCounter(uint32* counter) {
    return std::atomic_ref<uint32>(*counter).fetch_sub(1, std::memory_order_acq_rel) == 0;
}

/// The counter's current value.
inline uint32 referenceCounterValue(const uint32* counter) {
    return std::atomic_ref<uint32>(*const_cast<uint32*>(counter)).load(std::memory_order_relaxed);
}

} // namespace zor
