#include "common/containers/List.h"

#include "common/compression/CompressionCallbacks.h"
#include "common/containers/HashMap.h"
#include "common/containers/String.h"

#include "TestAllocator.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zor {
namespace {

using test::TestAllocator;

template <typename T>
std::vector<T> contents(List<T>& list) {
    std::vector<T> values;
    for (const T& value : list)
        values.push_back(value);
    return values;
}

std::vector<std::string> texts(List<String>& list) {
    std::vector<std::string> values;
    for (const String& value : list)
        values.emplace_back(value.c_str());
    return values;
}

List<int> listOf(std::initializer_list<int> values) {
    List<int> list;
    for (int value : values)
        list.pushBack(value);
    return list;
}

/// The node an iterator stands on, found by position.
List<int>::Iterator at(List<int>& list, int index) {
    auto it = list.begin();
    while (index-- > 0)
        ++it;
    return it;
}

TEST(List, PushesAndPopsAtBothEnds) {
    List<int> list;
    EXPECT_TRUE(list.isEmpty());
    EXPECT_TRUE(list.begin() == list.end());
    list.pushBack(1);
    list.pushFront(0);
    list.pushBack(2);
    list.pushFront(-1);
    EXPECT_EQ(contents(list), (std::vector<int>{-1, 0, 1, 2}));
    EXPECT_EQ(list.size(), 4u);
    EXPECT_EQ(list.front(), -1);
    EXPECT_EQ(list.back(), 2);

    list.popFront();
    list.popBack();
    EXPECT_EQ(contents(list), (std::vector<int>{0, 1}));
    list.popBack();
    EXPECT_EQ(contents(list), (std::vector<int>{0}));
    list.popFront();
    EXPECT_TRUE(list.isEmpty());
    EXPECT_EQ(list.front(), 0);
    EXPECT_EQ(list.back(), 0);
}

TEST(List, OneElementIsBothEndsAndEndCarriesIt) {
    for (const bool atFront : {false, true}) {
        List<int> list;
        if (atFront)
            list.pushFront(5);
        else
            list.pushBack(5);
        EXPECT_EQ(&list.back(), &list.front());
        auto it = list.begin();
        ++it;
        EXPECT_TRUE(it == list.end());
        EXPECT_EQ(list.end().previous(), list.headNode());
    }
}

TEST(List, InsertBeforeOrAfterAPosition) {
    List<int> list = listOf({5});
    list.insert(list.begin(), false, 4);
    EXPECT_EQ(contents(list), (std::vector<int>{4, 5}));
    EXPECT_EQ(list.back(), 5);
    list.insert(list.begin(), true, 6);
    EXPECT_EQ(contents(list), (std::vector<int>{4, 6, 5}));
    list.insert(at(list, 2), true, 8);
    list.insert(list.end(), false, 9);
    list.insert(list.end(), true, 10);
    EXPECT_EQ(contents(list), (std::vector<int>{4, 6, 5, 8, 9, 10}));
    EXPECT_EQ(list.back(), 10);
    list.insert(at(list, 1), false, 1);
    EXPECT_EQ(contents(list), (std::vector<int>{4, 1, 6, 5, 8, 9, 10}));

    List<int> empty;
    empty.insert(empty.begin(), false, 3);
    EXPECT_EQ(contents(empty), (std::vector<int>{3}));
}

TEST(List, RemoveSingleNodesAndInclusiveRanges) {
    List<int> list = listOf({0, 1, 2, 3, 4, 5, 6});
    list.remove(at(list, 3));
    list.remove(list.begin());
    list.remove(at(list, 4));
    EXPECT_EQ(contents(list), (std::vector<int>{1, 2, 4, 5}));
    EXPECT_EQ(list.back(), 5);

    list.remove(at(list, 1), at(list, 2));
    EXPECT_EQ(contents(list), (std::vector<int>{1, 5}));
    list.remove(list.begin(), list.begin());
    EXPECT_EQ(contents(list), (std::vector<int>{5}));
    EXPECT_EQ(list.end().previous(), list.headNode());

    list = listOf({1, 2, 3});
    list.remove(at(list, 1), list.end());
    EXPECT_EQ(contents(list), (std::vector<int>{1}));
}

TEST(List, EmptyPopsAndNullRemovalsWarnAndChangeNothing) {
    List<String> list;
    testing::internal::CaptureStdout();
    list.popBack();
    list.popFront();
    list.remove(list.end());
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "WARN : Cannot pop further, the list is empty\nWARN : Cannot pop further, the list is empty\n");
    EXPECT_TRUE(list.isEmpty());

    list.pushBack(String("a"));
    testing::internal::CaptureStdout();
    list.remove(list.end());
    list.remove(list.end(), list.end());
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "WARN : Unable to remove NULL entry from the list\nWARN : Unable to remove NULL entry from the "
              "list\n");
    EXPECT_EQ(texts(list), (std::vector<std::string>{"a"}));
}

TEST(List, LogLinesNameTheElementTypeAsTheFrameworkSpellsIt) {
    EXPECT_STREQ(List<String>::functionName<"popBack">, "zor::List<class zor::String>::popBack");
    EXPECT_STREQ(List<String>::functionName<"remove">, "zor::List<class zor::String>::remove");
    EXPECT_STREQ(List<void (*)()>::functionName<"popFront">, "zor::List<void (__cdecl*)(void)>::popFront");
    EXPECT_STREQ(List<uint8>::functionName<"popFront">, "zor::List<unsigned char>::popFront");
    EXPECT_STREQ(List<CompressDataCallback>::functionName<"popBack">,
                 "zor::List<unsigned __int64 (__cdecl*)(const void *,unsigned __int64,"
                 "class zor::Array<unsigned char> &,unsigned char)>::popBack");
    EXPECT_STREQ(List<DecompressDataCallback>::functionName<"popBack">,
                 "zor::List<unsigned __int64 (__cdecl*)(const void *,unsigned __int64,void *,"
                 "unsigned __int64)>::popBack");
    EXPECT_STREQ(List<List<String>*>::functionName<"popBack">,
                 "zor::List<class zor::List<class zor::String> *>::popBack");
    using StringMapBucket = HashMap<String, uint32>::Bucket;
    EXPECT_STREQ(StringMapBucket::functionName<"remove">,
                 "zor::List<struct zor::HashMapBase<class zor::String,unsigned int,struct zor::Hash<class "
                 "zor::String>,struct zor::EqualTo<class zor::String> >::HashMapEntry *>::remove");
}

TEST(List, CopiesOwnTheirStrings) {
    List<String> source;
    source.pushBack(String("alpha"));
    source.pushBack(String("a text long enough to need a block of its own on the heap, past 64 bytes"));
    List<String> copy(source);
    source.front().assign("changed");
    EXPECT_EQ(texts(copy)[0], "alpha");

    List<String> other;
    other.pushBack(String("x"));
    other = copy;
    other.swap(source);
    EXPECT_EQ(texts(source), texts(copy));
    EXPECT_EQ(texts(other)[0], "changed");
}

TEST(List, NodesComeFromItsAllocator) {
    List<int> list;
    list.setAllocator(TestAllocator::record());
    list.pushBack(1);
    list.pushFront(0);
    list.insert(list.begin(), true, 2);
    EXPECT_EQ(TestAllocator::allocations, 3);
    list.popBack();
    EXPECT_EQ(TestAllocator::frees, 1);

    TestAllocator::exhausted = true;
    list.pushBack(7);
    list.pushFront(7);
    list.insert(list.begin(), true, 7);
    EXPECT_EQ(contents(list), (std::vector<int>{0, 2}));
    TestAllocator::exhausted = false;
    list.clear();
    EXPECT_EQ(TestAllocator::frees, 3);
}

} // namespace
} // namespace zor
