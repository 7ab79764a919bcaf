#include "common/memory/SlotArena.h"

#include "common/platform/LargeBlock.h"

#include <cstdlib>
#include <cstring>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define ZOR_ARENA_POISON(address, size) ASAN_POISON_MEMORY_REGION(address, size)
#define ZOR_ARENA_UNPOISON(address, size) ASAN_UNPOISON_MEMORY_REGION(address, size)
#else
#define ZOR_ARENA_POISON(address, size) ((void)(address), (void)(size))
#define ZOR_ARENA_UNPOISON(address, size) ((void)(address), (void)(size))
#endif

namespace zor {
namespace {

constexpr std::size_t kCacheLine = 64;
// A small scene takes a page or two; blocks double from here up to a large page.
constexpr std::size_t kFirstBlockSize = std::size_t{64} << 10;

} // namespace

SlotArena::SlotArena(std::size_t objectSize)
    : m_slotSize((objectSize + kCacheLine - 1) / kCacheLine * kCacheLine), m_blockSize(kFirstBlockSize) {}

SlotArena::~SlotArena() {
    for (const auto& [block, size] : m_blocks) {
        ZOR_ARENA_UNPOISON(block, size);
        if (size >= platform::kLargeBlockSize)
            platform::freeLargeBlock(block);
        else
            ::operator delete (block, std::align_val_t{kCacheLine});
    }
}

void* SlotArena::allocate() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_released != nullptr) {
        void* slot = m_released;
        ZOR_ARENA_UNPOISON(slot, m_slotSize);
        std::memcpy(&m_released, slot, sizeof m_released);
        return slot;
    }
    if (m_next == m_end)
        grow();
    void* slot = m_next;
    m_next += m_slotSize;
    ZOR_ARENA_UNPOISON(slot, m_slotSize);
    return slot;
}

void SlotArena::free(void* slot) {
    if (slot == nullptr)
        return;
    std::lock_guard<std::mutex> lock(m_mutex);
    std::memcpy(slot, &m_released, sizeof m_released);
    m_released = slot;
    // A use after release is caught where the sanitizer runs: the slot's bytes are out of
    // bounds until it is handed out again.
    ZOR_ARENA_POISON(slot, m_slotSize);
}

std::size_t SlotArena::reservedBytes() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_reservedBytes;
}

void SlotArena::grow() {
    void* block = m_blockSize >= platform::kLargeBlockSize
                      ? platform::allocateLargeBlock()
                      : ::operator new (m_blockSize, std::align_val_t{kCacheLine}, std::nothrow);
    if (block == nullptr)
        std::abort();
    m_blocks.emplace_back(block, m_blockSize);
    m_reservedBytes += m_blockSize;
    m_next = static_cast<unsigned char*>(block);
    // The tail that holds no whole slot is never handed out.
    m_end = m_next + m_blockSize / m_slotSize * m_slotSize;
    ZOR_ARENA_POISON(block, m_blockSize);
    if (m_blockSize < platform::kLargeBlockSize)
        m_blockSize *= 2;
}

} // namespace zor
