#include "common/memory/RefCountedData.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace zor {
namespace {

// Counts destructions so that tests see exactly when slot 0 runs.
class Probe : public RefCountedData {
public:
    explicit Probe(int* destroyed) : m_destroyed(destroyed) {}
    ~Probe() { ++*m_destroyed; }
    ZOR_DELETING_DESTRUCTOR(Probe)

private:
    int* m_destroyed;
};

TEST(RefCountedData, CounterStartsAtZeroAndLastReleaseDestroys) {
    int destroyed = 0;
    auto* probe = new Probe(&destroyed);
    EXPECT_EQ(probe->referenceCount(), 0u);
    EXPECT_EQ(probe->retain(), probe);
    EXPECT_EQ(probe->referenceCount(), 1u);
    probe->release();
    EXPECT_EQ(destroyed, 0);
    EXPECT_EQ(probe->referenceCount(), 0u);
    probe->release();
    EXPECT_EQ(destroyed, 1);
}

TEST(RefCountedData, CopiesGetTheirOwnCounter) {
    RefCountedData original;
    original.retain();
    RefCountedData copy(original);
    EXPECT_EQ(copy.referenceCount(), 0u);
    copy = original;
    EXPECT_EQ(copy.referenceCount(), 0u);
    EXPECT_EQ(original.referenceCount(), 1u);
}

TEST(RefCountedData, CreateReturnsAFreshBaseInstance) {
    RefCountedData original;
    original.retain();
    RefCountedData* created = original.create();
    EXPECT_EQ(created->referenceCount(), 0u);
    created->release();
}

TEST(RefCountedData, DeletingDestructorWithoutFlagLeavesTheMemory) {
    int destroyed = 0;
    alignas(Probe) unsigned char storage[sizeof(Probe)];
    auto* probe = new (storage) Probe(&destroyed);
    probe->deletingDestructor(0);
    EXPECT_EQ(destroyed, 1);
}

TEST(RefCountedData, ConcurrentRetainAndReleaseBalance) {
    int destroyed = 0;
    auto* probe = new Probe(&destroyed);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([probe] {
            for (int i = 0; i < 10000; ++i) {
                probe->retain();
                probe->release();
            }
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(probe->referenceCount(), 0u);
    EXPECT_EQ(destroyed, 0);
    probe->release();
    EXPECT_EQ(destroyed, 1);
}

} // namespace
} // namespace zor
