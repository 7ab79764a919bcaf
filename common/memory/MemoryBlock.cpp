#include "common/memory/MemoryBlock.h"

#include <cstdlib>
#include <cstring>

namespace zor {
namespace {

std::size_t roundUpToEight(std::size_t size) {
    return (size + 7u) & ~std::size_t{7u};
}

unsigned char* blockStart(const void* pointer) {
    return static_cast<unsigned char*>(const_cast<void*>(pointer)) - kMemoryBlockHeaderSize;
}

/// A block of `size` usable bytes from `allocate` (malloc or a zeroing calloc), its header written.
template <typename Allocate>
void* newBlock(std::size_t size, Allocate&& allocate) {
    if (size == 0 || size > SIZE_MAX - kMemoryBlockHeaderSize - 7u)
        std::abort();
    const std::size_t usable = roundUpToEight(size);
    auto* start = static_cast<unsigned char*>(allocate(usable + kMemoryBlockHeaderSize));
    if (start == nullptr)
        std::abort();
    const uint64 recorded = usable;
    std::memcpy(start, &recorded, sizeof recorded);
    return start + kMemoryBlockHeaderSize;
}

} // namespace

void* allocateMemoryBlock(std::size_t size) {
    return newBlock(size, [](std::size_t bytes) { return std::malloc(bytes); });
}

void* allocateZeroedMemoryBlock(std::size_t size) {
    return newBlock(size, [](std::size_t bytes) { return std::calloc(1, bytes); });
}

void* reallocateMemoryBlock(void* pointer, std::size_t newSize) {
    if (pointer == nullptr)
        return allocateMemoryBlock(newSize);
    void* moved = allocateMemoryBlock(newSize);
    const std::size_t oldSize = memoryBlockSize(pointer);
    std::memcpy(moved, pointer, oldSize < newSize ? oldSize : newSize);
    freeMemoryBlock(pointer);
    return moved;
}

void* growMemoryBlock(void* pointer, std::size_t newSize) {
    if (pointer == nullptr)
        return allocateMemoryBlock(newSize);
    if (newSize == 0 || newSize > SIZE_MAX - kMemoryBlockHeaderSize - 7u)
        std::abort();
    const std::size_t usable = roundUpToEight(newSize);
    auto* start =
        static_cast<unsigned char*>(std::realloc(blockStart(pointer), usable + kMemoryBlockHeaderSize));
    if (start == nullptr)
        std::abort();
    const uint64 recorded = usable;
    std::memcpy(start, &recorded, sizeof recorded);
    return start + kMemoryBlockHeaderSize;
}

void freeMemoryBlock(void* pointer, std::size_t) {
    if (pointer != nullptr)
        std::free(blockStart(pointer));
}

std::size_t memoryBlockSize(const void* pointer) {
    uint64 recorded = 0;
    std::memcpy(&recorded, blockStart(pointer), sizeof recorded);
    return static_cast<std::size_t>(recorded);
}

const Allocator* defaultAllocator() {
    static const Allocator record{&allocateMemoryBlock, &reallocateMemoryBlock, &freeMemoryBlock};
    return &record;
}

} // namespace zor
