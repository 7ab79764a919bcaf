#include "common/platform/ReadWriteLock.h"

namespace zor {

ReadWriteLock::ReadWriteLock() : m_heldShared(0) {}

ReadWriteLock::~ReadWriteLock() = default;

void ReadWriteLock::acquireExclusive() {
    m_mutex.lock();
    m_heldShared.store(0, std::memory_order_relaxed);
}

void ReadWriteLock::acquireShared() {
    m_mutex.lock_shared();
    m_heldShared.store(1, std::memory_order_relaxed);
}

void ReadWriteLock::release() {
    if (m_heldShared.load(std::memory_order_relaxed) != 0)
        m_mutex.unlock_shared();
    else
        m_mutex.unlock();
}

} // namespace zor
