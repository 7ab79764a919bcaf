#include "common/platform/ReadWriteLock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace zor {
namespace {

TEST(ReadWriteLock, ReadersShareAndWritersExclude) {
    ReadWriteLock lock;
    // Each reader waits, while holding the lock, until the other one holds it too; an
    // implementation that serialises readers never gets both inside.
    std::atomic<int> inside{0}, overlapped{0};
    const auto reader = [&] {
        ScopedReadWriteLock hold(lock, ScopedReadWriteLock::Shared);
        inside.fetch_add(1);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (inside.load() < 2 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();
        overlapped.fetch_add(inside.load() == 2 ? 1 : 0);
    };
    std::thread first(reader), second(reader);
    first.join();
    second.join();
    EXPECT_EQ(overlapped.load(), 2);

    // Writers among readers: the one release serves the mode the current holder recorded.
    long counter = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 6; ++t)
        threads.emplace_back([&, writer = t < 4] {
            for (int i = 0; i < 20000; ++i) {
                ScopedReadWriteLock hold(lock, writer ? ScopedReadWriteLock::Exclusive
                                                      : ScopedReadWriteLock::Shared);
                EXPECT_EQ(lock.isHeldShared(), !writer);
                if (writer)
                    ++counter;
            }
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(counter, 80000);
}

} // namespace
} // namespace zor
