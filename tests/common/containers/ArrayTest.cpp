#include "common/containers/Array.h"

#include "TestAllocator.h"

#include <gtest/gtest.h>

#include <vector>

namespace zor {
namespace {

using test::TestAllocator;

std::vector<int> contents(const Array<int>& array) {
    return {array.begin(), array.end()};
}

Array<int> arrayOf(std::initializer_list<int> values) {
    Array<int> array;
    array.append(values.begin(), values.size());
    return array;
}

/// A class-type element whose default constructor zeroes it, as the vector types do.
struct Point {
    float x, y, z;
    Point() : x(0), y(0), z(0) {}
    Point(float px, float py, float pz) : x(px), y(py), z(pz) {}
};

TEST(Array, DefaultGrowthFollowsPowersOfTwoBothWays) {
    Array<int> array;
    EXPECT_EQ(array.getMode(), ArrayModeOwned);
    EXPECT_EQ(array.getGrowth(), 0x20000000u);
    EXPECT_TRUE(array.isEmpty());
    EXPECT_EQ(array.data(), nullptr);

    std::vector<uint64> capacities;
    for (int i = 0; i < 8; ++i) {
        ASSERT_TRUE(array.pushBack(i * 10));
        capacities.push_back(array.capacity());
    }
    EXPECT_EQ(capacities, (std::vector<uint64>{2, 4, 4, 8, 8, 8, 8, 16}));
    EXPECT_EQ(contents(array), (std::vector<int>{0, 10, 20, 30, 40, 50, 60, 70}));

    ASSERT_TRUE(array.resize(3));
    EXPECT_EQ(array.capacity(), 4u);
    EXPECT_EQ(contents(array), (std::vector<int>{0, 10, 20}));

    // The policy gives 1 for an empty array, so even size 0 keeps a block.
    ASSERT_TRUE(array.resize(0));
    EXPECT_EQ(array.capacity(), 1u);
}

TEST(Array, GrowthPolicies) {
    struct Case {
        uint32 mode;
        uint32 growth;
        uint64 size;
        uint64 capacity;
    };
    const Case cases[] = {
        {ArrayModeGrowOnly, 0x10000000, 5, 10},
        {ArrayModeGrowOnly, 0x1000ABCD, 3, 6},
        {ArrayModeOwned, 0x20000000, 8, 16},
        {ArrayModeOwned, 0x2FFFFFFF, 9, 16},
        {ArrayModeOwned, 5, 11, 15},
        {ArrayModeOwned, 5, 10, 10},
        {ArrayModeOwned, 1, 7, 7},
        {ArrayModeOwned, 0, 7, 7},
    };
    for (const Case& c : cases) {
        Array<uint8> array;
        ASSERT_TRUE(array.setMode(c.mode, c.growth));
        ASSERT_TRUE(array.resize(c.size)) << c.growth;
        EXPECT_EQ(array.capacity(), c.capacity) << c.growth << " size " << c.size;
        EXPECT_EQ(array.size(), c.size);
    }

    // The exact policy frees the storage at size 0 instead of asking for an empty block.
    Array<int> exact;
    exact.setMode(ArrayModeOwned, 0);
    exact.resize(4);
    ASSERT_TRUE(exact.resize(0));
    EXPECT_EQ(exact.capacity(), 0u);
    EXPECT_EQ(exact.data(), nullptr);
}

TEST(Array, OwnedModeWithDoublingRefusesEverySizeChange) {
    Array<int> array = arrayOf({1, 2, 3});
    const uint64 capacity = array.capacity();
    ASSERT_TRUE(array.setMode(ArrayModeOwned, ArrayGrowthDouble));
    const int value = 9;
    EXPECT_FALSE(array.resize(3 + 1));
    EXPECT_FALSE(array.resize(3));
    EXPECT_FALSE(array.pushBack(value));
    EXPECT_FALSE(array.insert(&value, 0, 1, false));
    EXPECT_FALSE(array.remove(0, 1, false));
    EXPECT_EQ(array.popBack(nullptr, 1), 0u);
    EXPECT_EQ(contents(array), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(array.capacity(), capacity);
    // Overwriting in place needs no resize.
    EXPECT_EQ(array.write(&value, 1, 1, false), 1u);
    EXPECT_EQ(contents(array), (std::vector<int>{1, 9, 3}));
}

TEST(Array, GrowOnlyModeKeepsItsCapacityWhenShrinking) {
    Array<int> array = arrayOf({1, 2, 3, 4, 5});
    ASSERT_TRUE(array.setMode(ArrayModeGrowOnly, ArrayGrowthDouble));
    const int* storage = array.data();
    ASSERT_TRUE(array.resize(2));
    EXPECT_EQ(array.capacity(), 8u);
    EXPECT_EQ(array.data(), storage);
    ASSERT_TRUE(array.resize(8));
    EXPECT_EQ(array.data(), storage);
    EXPECT_EQ(array[1], 2);
    ASSERT_TRUE(array.resize(9));
    EXPECT_EQ(array.capacity(), 18u);
    EXPECT_EQ(array[0], 1);
    array.setFixed(40);
    EXPECT_EQ(array.size(), 18u);
}

TEST(Array, InsertOpensAGapAtTheOffset) {
    const int two[] = {7, 8};
    Array<int> array = arrayOf({1, 2, 3});
    ASSERT_TRUE(array.insert(two, 1, 2, false));
    EXPECT_EQ(contents(array), (std::vector<int>{1, 7, 8, 2, 3}));
    ASSERT_TRUE(array.insert(two, 1, 1, true));
    EXPECT_EQ(contents(array), (std::vector<int>{1, 7, 8, 2, 7, 3}));
    ASSERT_TRUE(array.insert(two + 1, 0, 1, true));
    EXPECT_EQ(contents(array), (std::vector<int>{1, 7, 8, 2, 7, 3, 8}));
    ASSERT_TRUE(array.insert(two, 0, 1, false));
    EXPECT_EQ(contents(array), (std::vector<int>{7, 1, 7, 8, 2, 7, 3, 8}));

    // In place: the capacity already holds the growth, the tail moves up.
    ASSERT_TRUE(array.setMode(ArrayModeGrowOnly, 0x20000000));
    ASSERT_TRUE(array.resize(4));
    ASSERT_TRUE(array.insert(two, 2, 2, false));
    EXPECT_EQ(contents(array), (std::vector<int>{7, 1, 7, 8, 7, 8}));

    EXPECT_FALSE(array.insert(two, 7, 1, false));
    EXPECT_FALSE(array.insert(two, 7, 1, true));
    EXPECT_FALSE(array.insert(two, 0, 0, false));
    EXPECT_EQ(array.size(), 6u);
}

TEST(Array, ElementsFromTheArrayItselfSurviveAReallocation) {
    Array<int> array = arrayOf({1, 2, 3, 4});
    ASSERT_EQ(array.capacity(), 8u);
    ASSERT_TRUE(array.append(array.data(), 4));
    ASSERT_TRUE(array.pushBack(array[0]));
    EXPECT_EQ(contents(array), (std::vector<int>{1, 2, 3, 4, 1, 2, 3, 4, 1}));
    ASSERT_TRUE(array.insert(array.data() + 6, 0, 3, false));
    EXPECT_EQ(contents(array), (std::vector<int>{3, 4, 1, 1, 2, 3, 4, 1, 2, 3, 4, 1}));
    EXPECT_EQ(array.write(array.data(), 10, 6, false), 6u);
    EXPECT_EQ(contents(array), (std::vector<int>{3, 4, 1, 1, 2, 3, 4, 1, 2, 3, 3, 4, 1, 1, 2, 3}));
}

TEST(Array, WriteOverwritesAndGrows) {
    const int values[] = {7, 8, 9};
    Array<int> array = arrayOf({1, 2, 3, 4});
    EXPECT_EQ(array.write(values, 1, 2, false), 2u);
    EXPECT_EQ(contents(array), (std::vector<int>{1, 7, 8, 4}));
    EXPECT_EQ(array.write(values, 2, 3, true), 3u);
    EXPECT_EQ(contents(array), (std::vector<int>{1, 7, 7, 8, 9}));
    EXPECT_EQ(array.write(values, 5, 1, false), 1u);
    EXPECT_EQ(contents(array), (std::vector<int>{1, 7, 7, 8, 9, 7}));
    EXPECT_EQ(array.write(values, 7, 1, false), 0u);
    EXPECT_EQ(array.size(), 6u);
}

TEST(Array, RemoveAndPopBackCloseTheRange) {
    Array<int> array = arrayOf({1, 2, 3, 4, 5, 6});
    ASSERT_TRUE(array.remove(1, 2, false));
    EXPECT_EQ(contents(array), (std::vector<int>{1, 4, 5, 6}));
    ASSERT_TRUE(array.remove(2, 1, true));
    EXPECT_EQ(contents(array), (std::vector<int>{1, 4, 6}));
    EXPECT_EQ(array.capacity(), 4u);

    EXPECT_FALSE(array.remove(2, 2, false));
    EXPECT_FALSE(array.remove(4, 1, false));
    EXPECT_FALSE(array.remove(0, 0, false));
    EXPECT_EQ(contents(array), (std::vector<int>{1, 4, 6}));

    int out[4] = {};
    EXPECT_EQ(array.popBack(out, 2), 2u);
    EXPECT_EQ(out[1], 6);
    EXPECT_EQ(array.popBack(out, 5), 1u);
    EXPECT_EQ(out[0], 1);
    EXPECT_EQ(array.popBack(out, 1), 0u);
}

TEST(Array, ExternalBufferIsNeverResizedOrFreed) {
    int buffer[4] = {1, 2, 3, 4};
    const int values[] = {7, 8, 9};
    Array<int> array = arrayOf({5});
    array.attach(buffer, 4);
    EXPECT_TRUE(array.isExternal());
    EXPECT_EQ(array.data(), buffer);
    EXPECT_EQ(array.capacity(), 4u);

    EXPECT_FALSE(array.resize(2));
    EXPECT_FALSE(array.resize(4));
    EXPECT_FALSE(array.append(values, 1));
    EXPECT_FALSE(array.pushBack(values[0]));
    EXPECT_FALSE(array.insert(values, 0, 1, false));
    EXPECT_FALSE(array.remove(0, 1, false));
    EXPECT_EQ(array.popBack(nullptr, 1), 0u);
    EXPECT_FALSE(array.setMode(ArrayModeOwned, ArrayGrowthPowerOfTwo));

    EXPECT_EQ(array.write(values, 2, 3, false), 2u);
    EXPECT_EQ(array.write(values, 0, 3, true), 0u);
    EXPECT_EQ(contents(array), (std::vector<int>{1, 2, 7, 8}));
    EXPECT_FALSE(Array<int>().setMode(ArrayModeExternal, 0));
    // The destructor must leave the stack buffer alone.
}

TEST(Array, OwnershipMovesThroughReleaseAndAdopt) {
    Array<int> array = arrayOf({1, 2, 3});
    array.setMode(ArrayModeGrowOnly, 7);
    int* storage = nullptr;
    std::size_t size = 0;
    array.release(&storage, &size);
    EXPECT_EQ(size, 3u);
    EXPECT_EQ(array.data(), nullptr);
    EXPECT_EQ(array.getMode(), ArrayModeOwned);
    EXPECT_EQ(array.getGrowth(), 0x20000000u);

    Array<int> owner = arrayOf({9});
    owner.adopt(storage, size);
    ASSERT_TRUE(owner.pushBack(4));
    EXPECT_EQ(contents(owner), (std::vector<int>{1, 2, 3, 4}));
}

TEST(Array, UsesItsAllocatorAndStaysUnchangedWhenItRunsOut) {
    Array<int> array;
    array.setAllocator(TestAllocator::record());
    for (int i = 0; i < 5; ++i)
        array.pushBack(i);
    EXPECT_EQ(TestAllocator::allocations, 3);
    EXPECT_EQ(TestAllocator::frees, 2);

    TestAllocator::exhausted = true;
    const int* storage = array.data();
    const int values[] = {7, 8, 9, 10};
    EXPECT_FALSE(array.append(values, 4));
    EXPECT_FALSE(array.insert(values, 0, 4, false));
    EXPECT_EQ(array.write(values, 4, 4, false), 0u);
    EXPECT_FALSE(array.remove(0, 4, false));
    EXPECT_EQ(array.data(), storage);
    EXPECT_EQ(contents(array), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(array.capacity(), 8u);

    TestAllocator::exhausted = false;
    array.reset();
    EXPECT_EQ(TestAllocator::frees, 3);
}

TEST(Array, ClassElementsAreZeroedOverTheWholeBlock) {
    Array<Point> points;
    points.setAllocator(TestAllocator::record());
    points.pushBack(Point(1, 2, 3));
    ASSERT_TRUE(points.resize(3));
    ASSERT_EQ(points.capacity(), 4u);
    EXPECT_EQ(points[0].z, 3.0f);
    for (uint64 i = 1; i < points.capacity(); ++i)
        EXPECT_EQ(points.data()[i].x + points.data()[i].y + points.data()[i].z, 0.0f) << i;
}

TEST(Array, ResizeWithATailKeepsItAtTheEnd) {
    // A gap smaller than the growth: the tail moves up by the gap, new elements follow it;
    // first within the capacity, then through a new block.
    for (const uint64 newSize : {7u, 9u}) {
        Array<int> array = arrayOf({1, 2, 3, 4});
        ASSERT_TRUE(array.resize(newSize, 2, 2));
        EXPECT_EQ(array.size(), newSize);
        EXPECT_EQ(array[0], 1);
        EXPECT_EQ(array[1], 2);
        EXPECT_EQ(array[4], 3);
        EXPECT_EQ(array[5], 4);
    }
}

} // namespace
} // namespace zor
