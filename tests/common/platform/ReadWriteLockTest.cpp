#include "common/platform/ReadWriteLock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace zor {
namespace {

TEST(ReadWriteLock, FlagRecordsTheModeAndReleasePicksIt) {
    ReadWriteLock lock;
    lock.acquireShared();
    EXPECT_TRUE(lock.isHeldShared());
    lock.acquireShared(); // readers share
    lock.release();
    lock.release();
    lock.acquireExclusive();
    EXPECT_FALSE(lock.isHeldShared());
    lock.release();
    lock.acquireShared(); // released exclusively above, so shared is free again
    lock.release();
}

TEST(ReadWriteLock, SharedHoldersOverlap) {
    // Each reader waits, while holding the lock, until the other one holds it too; an
    // implementation that serialises readers never gets both inside.
    ReadWriteLock lock;
    std::atomic<int> inside{0};
    std::atomic<bool> overlapped[2] = {false, false};
    auto reader = [&](int index) {
        ScopedReadWriteLock hold(lock, ScopedReadWriteLock::Shared);
        inside.fetch_add(1);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (inside.load() < 2 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();
        overlapped[index] = inside.load() == 2;
    };
    std::thread first(reader, 0);
    std::thread second(reader, 1);
    first.join();
    second.join();
    EXPECT_TRUE(overlapped[0]);
    EXPECT_TRUE(overlapped[1]);
}

TEST(ReadWriteLock, ExclusiveHoldersDoNotOverlap) {
    ReadWriteLock lock;
    long counter = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 20000; ++i) {
                ScopedReadWriteLock hold(lock, ScopedReadWriteLock::Exclusive);
                ++counter;
            }
        });
    for (int t = 0; t < 2; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 20000; ++i) {
                ScopedReadWriteLock hold(lock, ScopedReadWriteLock::Shared);
                EXPECT_GE(counter, 0);
            }
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(counter, 80000);
}

} // namespace
} // namespace zor
