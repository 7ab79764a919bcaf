#pragma once

#include "common/Types.h"

#include <atomic>
#ifndef _WIN32
#include <shared_mutex>
#endif

namespace zor {

/// A slim reader/writer lock that remembers how it is held, so that one `release`
/// serves both modes: the flag is 1 while held shared and 0 while held exclusively.
class ReadWriteLock {
public:
    ReadWriteLock();
    ~ReadWriteLock();
    ReadWriteLock(const ReadWriteLock&) = delete;
    ReadWriteLock& operator=(const ReadWriteLock&) = delete;

    void acquireExclusive();
    void acquireShared();
    /// Releases the mode recorded by the flag.
    void release();
    bool isHeldShared() const { return m_heldShared.load(std::memory_order_relaxed) != 0; }

private:
#ifdef _WIN32
    void* m_srwLock; // SRWLOCK: one pointer-sized word
#else
    std::shared_mutex m_mutex;
#endif
    std::atomic<uint8> m_heldShared;
};

/// Holds a ReadWriteLock for one scope.
class ScopedReadWriteLock {
public:
    enum Mode { Shared, Exclusive };
    ScopedReadWriteLock(ReadWriteLock& lock, Mode mode) : m_lock(lock) {
        if (mode == Shared)
            m_lock.acquireShared();
        else
            m_lock.acquireExclusive();
    }
    ~ScopedReadWriteLock() { m_lock.release(); }
    ScopedReadWriteLock(const ScopedReadWriteLock&) = delete;
    ScopedReadWriteLock& operator=(const ScopedReadWriteLock&) = delete;

private:
    ReadWriteLock& m_lock;
};

} // namespace zor
