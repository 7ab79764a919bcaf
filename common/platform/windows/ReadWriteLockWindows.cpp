#include "common/platform/ReadWriteLock.h"

#include <windows.h>

namespace zor {
namespace {

static_assert(sizeof(SRWLOCK) == sizeof(void*), "the lock word holds one SRWLOCK");

// The header keeps the SRWLOCK as one opaque pointer-sized word so that it needs no OS header.
PSRWLOCK srwLock(void*& word) {
    return reinterpret_cast<PSRWLOCK>(&word);
}

} // namespace

ReadWriteLock::ReadWriteLock() : m_srwLock(nullptr), m_heldShared(0) {
    InitializeSRWLock(srwLock(m_srwLock));
}

// A slim reader/writer lock owns no resources.
ReadWriteLock::~ReadWriteLock() = default;

void ReadWriteLock::acquireExclusive() {
    AcquireSRWLockExclusive(srwLock(m_srwLock));
    m_heldShared.store(0, std::memory_order_relaxed);
}

void ReadWriteLock::acquireShared() {
    AcquireSRWLockShared(srwLock(m_srwLock));
    m_heldShared.store(1, std::memory_order_relaxed);
}

void ReadWriteLock::release() {
    if (m_heldShared.load(std::memory_order_relaxed) != 0)
        ReleaseSRWLockShared(srwLock(m_srwLock));
    else
        ReleaseSRWLockExclusive(srwLock(m_srwLock));
}

} // namespace zor
