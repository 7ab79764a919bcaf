#pragma once

#include "common/Types.h"

namespace zor {

/// Bytes in front of every memory block; the first 8 hold the usable size.
inline constexpr std::size_t kMemoryBlockHeaderSize = 16;

/// Allocates a block with `size` usable bytes (rounded up to a multiple of 8).
/// A size of 0 or an exhausted heap aborts the process.
void* allocateMemoryBlock(std::size_t size);

/// As allocateMemoryBlock, with the usable bytes zero. Memory the system maps afresh is zero
/// already and is not written, so a large block's pages are first touched by their first use.
void* allocateZeroedMemoryBlock(std::size_t size);

/// Moves a block to a new one of `newSize` usable bytes, keeping min(old, new) bytes.
/// A null pointer behaves as allocateMemoryBlock.
void* reallocateMemoryBlock(void* pointer, std::size_t newSize);

/// Resizes a block to `newSize` usable bytes, keeping min(old, new) bytes, in place when the
/// system heap can (the block may move all the same); null behaves as allocateMemoryBlock.
/// Containers use it for storage from the default allocator, where no one sees the difference
/// from a reallocation but the copies saved.
void* growMemoryBlock(void* pointer, std::size_t newSize);

/// Returns a block to the system heap; null does nothing. The size is not needed.
void freeMemoryBlock(void* pointer, std::size_t size = 0);

/// The usable size recorded in a block's header.
std::size_t memoryBlockSize(const void* pointer);

/// An allocator record: the three functions through which containers get their storage.
struct Allocator {
    void* (*allocate)(std::size_t size);
    void* (*reallocate)(void* pointer, std::size_t newSize);
    void (*free)(void* pointer, std::size_t size);
};

/// The process-wide default allocator record, created on first use (memory blocks).
const Allocator* defaultAllocator();

} // namespace zor

/// Gives a class heap allocation through memory blocks, plus the placement form that the
/// class-specific operator new would otherwise hide.
#define ZOR_BLOCK_ALLOCATED                                                                                  \
    static void* operator new(std::size_t size) {                                                            \
        return ::zor::allocateMemoryBlock(size);                                                             \
    }                                                                                                        \
    static void operator delete(void* pointer) noexcept {                                                    \
        ::zor::freeMemoryBlock(pointer);                                                                     \
    }                                                                                                        \
    static void* operator new(std::size_t, void* place) noexcept {                                           \
        return place;                                                                                        \
    }                                                                                                        \
    static void operator delete(void*, void*) noexcept {}

/// Slot 0 of every table of virtual operations: runs the destructor of `Class` and, when bit 0
/// of the flags is set, frees the object's memory block. Every class that adds members to a
/// polymorphic root overrides it with this line, so that slot 0 always ends the whole object.
#define ZOR_DELETING_DESTRUCTOR(Class)                                                                       \
    void deletingDestructor(::zor::uint32 flags) override {                                                  \
        this->Class::~Class();                                                                               \
        if (flags & 1u)                                                                                      \
            Class::operator delete(this);                                                                    \
    }
