#include "common/memory/RefCountedData.h"

#include <gtest/gtest.h>

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

TEST(RefCountedData, ConcurrentRetainsBalanceAndTheLastReleaseDestroys) {
    int destroyed = 0;
    auto* probe = new Probe(&destroyed);
    EXPECT_EQ(probe->retain(), probe);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([probe] {
            for (int i = 0; i < 10000; ++i)
                probe->retain()->release();
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(probe->referenceCount(), 1u);
    probe->release();
    EXPECT_EQ(destroyed, 0);
    probe->release();
    EXPECT_EQ(destroyed, 1);

    // Without bit 0, slot 0 ends the object and leaves its memory alone.
    alignas(Probe) unsigned char storage[sizeof(Probe)];
    (new (storage) Probe(&destroyed))->deletingDestructor(0);
    EXPECT_EQ(destroyed, 2);
}

} // namespace
} // namespace zor
