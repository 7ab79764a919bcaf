#pragma once

#include "common/memory/MemoryBlock.h"

#include <cstring>

namespace zor::test {

/// An allocator record that counts its calls, fills fresh blocks with a pattern (so that
/// storage a container fails to initialise shows) and can be told to run out of memory.
struct TestAllocator {
    static inline int allocations = 0, frees = 0;
    static inline bool exhausted = false;

    static void* allocate(std::size_t size) {
        if (exhausted)
            return nullptr;
        ++allocations;
        return std::memset(allocateMemoryBlock(size), 0xAB, size);
    }
    static void* reallocate(void* pointer, std::size_t size) {
        return exhausted ? nullptr : reallocateMemoryBlock(pointer, size);
    }
    static void free(void* pointer, std::size_t) {
        frees += pointer != nullptr;
        freeMemoryBlock(pointer);
    }

    /// The record, with the counters and the exhaustion flag reset.
    static const Allocator* record() {
        allocations = frees = 0;
        exhausted = false;
        static const Allocator allocator{&allocate, &reallocate, &free};
        return &allocator;
    }
};

} // namespace zor::test
