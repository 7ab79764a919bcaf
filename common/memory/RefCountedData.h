#pragma once

#include "common/memory/MemoryBlock.h"
#include "common/memory/ReferenceCounter.h"

namespace zor {

/// Root of the foundation's value objects (String, the containers, the path commands):
/// a table of virtual operations and a reference counter kept in a block of its own.
/// A counter of 0 means one owner; the release that finds 0 destroys the object.
class RefCountedData {
public:
    ZOR_BLOCK_ALLOCATED

    RefCountedData() : m_referenceCounter(newReferenceCounter()), m_freeReferenceCounter(&std::free) {}
    /// A copy has its own counter, starting at 0.
    RefCountedData(const RefCountedData& other);
    /// Assignment copies content only; each object keeps its own counter.
    RefCountedData& operator=(const RefCountedData&) { return *this; }
    ~RefCountedData() { m_freeReferenceCounter(m_referenceCounter); }

    /// Slot 0: ends the object; bit 0 of `flags` also frees its memory block.
    virtual void deletingDestructor(uint32 flags);
    /// Slot 1: a new, empty instance of the base class.
    virtual RefCountedData* create() const;
    /// Slot 2: adds an owner.
    virtual RefCountedData* retain();
    /// Slot 3: drops an owner; the last one destroys the object through slot 0.
    virtual void release();

    /// The counter's current value (0 for a single owner).
    uint32 referenceCount() const;

protected:
    uint32* m_referenceCounter;
    void (*m_freeReferenceCounter)(void*);
};

} // namespace zor
