#pragma once

#include <cstddef>
#include <mutex>
#include <new>
#include <utility>
#include <vector>

namespace zor {

/// Memory for the objects of one class: slots of one size, a cache line apart, handed out one
/// after another in blocks, so that objects made one after another lie one after another (and a
/// walk in their order streams through memory), apart from the other objects of the heap. A
/// released slot is reused by the next object made. The blocks are kept for reuse as long as the
/// process runs, like a heap's.
class SlotArena {
public:
    /// Slots of `objectSize` bytes, rounded up to a whole number of cache lines.
    explicit SlotArena(std::size_t objectSize);
    /// Frees the blocks: every object in them must have ended.
    ~SlotArena();
    SlotArena(const SlotArena&) = delete;
    SlotArena& operator=(const SlotArena&) = delete;

    /// A slot; the process ends when memory is exhausted, as for any heap object.
    void* allocate();
    /// Returns a slot that allocate gave.
    void free(void* slot);
    /// The distance between two slots, in bytes.
    std::size_t slotSize() const { return m_slotSize; }
    /// The bytes of all blocks taken so far.
    std::size_t reservedBytes();

    /// The arena of objects of `objectSize` bytes for the class `Tag`, made on first use and never
    /// ended: objects released while the process ends still find it.
    template <typename Tag>
    static SlotArena& of(std::size_t objectSize) {
        static SlotArena* const arena = new SlotArena(objectSize);
        return *arena;
    }

private:
    /// Takes a new block, each twice the last up to a large page.
    void grow();

    std::mutex m_mutex;
    const std::size_t m_slotSize;
    /// Released slots, each holding the next.
    void* m_released = nullptr;
    unsigned char* m_next = nullptr;
    unsigned char* m_end = nullptr;
    std::size_t m_reservedBytes = 0;
    std::size_t m_blockSize;
    /// Every block taken and its size.
    std::vector<std::pair<void*, std::size_t>> m_blocks;
};

} // namespace zor

/// Gives a final class heap allocation from its SlotArena, plus the placement form that the
/// class-specific operator new would otherwise hide. Heap objects of the class end through slot 0
/// (ZOR_DELETING_DESTRUCTOR), which returns the slot.
#define ZOR_ARENA_ALLOCATED(Class)                                                                           \
    static void* operator new(std::size_t) {                                                                 \
        return ::zor::SlotArena::of<Class>(sizeof(Class)).allocate();                                        \
    }                                                                                                        \
    static void operator delete(void* pointer) noexcept {                                                    \
        ::zor::SlotArena::of<Class>(sizeof(Class)).free(pointer);                                            \
    }                                                                                                        \
    static void* operator new(std::size_t, void* place) noexcept {                                           \
        return place;                                                                                        \
    }                                                                                                        \
    static void operator delete(void*, void*) noexcept {}
