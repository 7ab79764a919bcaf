#include "physics/attributes/RestitutionCombine.h"

#include "common/containers/String.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace zor {
namespace {

TEST(RestitutionCombine, ConvertsTheFourNamesAndValuesBothWaysAndRejectsTheRest) {
    const char* const names[] = {"MAX", "MULTIPLY", "AVERAGE", "COMBINE_MIN"};
    for (uint8 value = 0; value < 4; ++value) {
        String name(names[value]);
        uint8 converted = 99;
        EXPECT_TRUE(convertRestitutionCombine(name, converted, true)) << names[value];
        EXPECT_EQ(converted, value);
        String back("unchanged");
        EXPECT_TRUE(convertRestitutionCombine(back, converted, false));
        EXPECT_EQ(back, names[value]);
    }
    // Rejected: the result is left alone.
    for (const char* rejected : {"MIN", "max", "", "AVERAGE "}) {
        String name(rejected);
        uint8 value = 99;
        EXPECT_FALSE(convertRestitutionCombine(name, value, true)) << '"' << rejected << '"';
        EXPECT_EQ(value, 99);
    }
    for (uint8 rejected : {uint8(4), uint8(255)}) {
        String name("unchanged");
        EXPECT_FALSE(convertRestitutionCombine(name, rejected, false)) << int(rejected);
        EXPECT_EQ(name, "unchanged");
    }
}

TEST(RestitutionCombine, ConvertsFromManyThreadsAtOnce) {
    // The first conversions of the process race to build the tables; every thread must see them
    // whole (the sanitizer build checks the locking).
    std::vector<std::thread> threads;
    std::vector<int> failures(8, 0);
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([t, &failures] {
            for (int i = 0; i < 200; ++i) {
                String name("COMBINE_MIN");
                uint8 value = 0;
                String back;
                uint8 two = 2;
                failures[t] += !convertRestitutionCombine(name, value, true) || value != 3 ||
                               !convertRestitutionCombine(back, two, false) || !(back == "AVERAGE");
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(failures, std::vector<int>(8, 0));
}

} // namespace
} // namespace zor
