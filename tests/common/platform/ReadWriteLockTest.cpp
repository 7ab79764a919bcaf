#include "common/platform/ReadWriteLock.h"

#include <gtest/gtest.h>

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
