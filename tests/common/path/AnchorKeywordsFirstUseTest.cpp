// Runs in a program of its own, so that the threads below are the first to use the keyword maps.

#include "common/containers/String.h"
#include "common/path/AnchorKeywords.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace zor {
namespace {

// One conversion and whether it gave the right answer; `number` (1 to 16) varies the keyword.
bool convertsRightly(int conversion, uint32 number) {
    String keyword;
    uint8 code = 13;
    switch (conversion) {
    case 0:
        keyword = String::formatted("V_SEPARATOR_%u", number);
        return convertHorizontalAnchor(keyword, code, true) && code == 127 + number;
    case 1:
        keyword = String::formatted("H_SEPARATOR_%u", number);
        return convertVerticalAnchor(keyword, code, true) && code == 127 + number;
    case 2:
        return convertHorizontalAnchor(keyword, code, false) && keyword == "RIGHT_MINUS_SIZE";
    default:
        return convertVerticalAnchor(keyword, code, false) && keyword == "BOTTOM_MINUS_HEIGHT";
    }
}

TEST(AnchorKeywordsFirstUse, EightThreadsConvertingFromTheStartAlwaysGetTheRightCodes) {
    constexpr int kThreads = 8;
    constexpr int kRounds = 500;
    std::atomic<int> waiting{kThreads};
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            // All threads start at once, each with another of the four conversions.
            waiting.fetch_sub(1);
            while (waiting.load() > 0)
                std::this_thread::yield();
            for (int round = 0; round < kRounds; ++round)
                if (!convertsRightly((t + round) % 4, static_cast<uint32>(1 + (t + round) % 16)))
                    wrong.fetch_add(1);
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(wrong.load(), 0);
}

} // namespace
} // namespace zor
