#include "common/containers/List.h"

#include "common/compression/CompressionCallbacks.h"
#include "common/containers/HashMap.h"
#include "common/containers/String.h"

#include "TestAllocator.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace zor {
namespace {

using test::TestAllocator;
using IntList = List<int>;
using Ints = std::vector<int>;

/// The values in order, after checking every back link, `end`'s previous node, `back` and `size`.
Ints checked(IntList& list) {
    Ints values;
    IntList::Node* previous = nullptr;
    for (IntList::Node* node = list.headNode(); node != nullptr; previous = node, node = node->next) {
        EXPECT_EQ(node->prev, previous);
        values.push_back(node->value);
    }
    EXPECT_EQ(list.end().previous(), previous);
    EXPECT_EQ(&list.back(), previous != nullptr ? &previous->value : &list.front());
    EXPECT_EQ(list.size(), values.size());
    return values;
}

IntList::Iterator at(IntList& list, int index) {
    auto it = list.begin();
    while (index-- > 0)
        ++it;
    return it;
}

// clang-format off
#define EDIT(statement) #statement, [](IntList& l) { statement; }
// clang-format on

TEST(List, EditsKeepTheLinksAndTheEnds) {
    // Contents before, the edit, contents after.
    // clang-format off
    const std::tuple<Ints, const char*, void (*)(IntList&), Ints> cases[] = {
        {{}, EDIT(l.pushFront(1)), {1}}, {{1}, EDIT(l.pushFront(0)), {0, 1}}, {{0}, EDIT(l.popFront()), {}},
        {{0, 1}, EDIT(l.popFront()), {1}}, {{0, 1}, EDIT(l.popBack()), {0}},
        {{5}, EDIT(l.insert(l.begin(), false, 4)), {4, 5}}, {{5}, EDIT(l.insert(l.begin(), true, 6)), {5, 6}},
        {{}, EDIT(l.insert(l.begin(), false, 3)), {3}},
        {{0, 1, 2}, EDIT(l.insert(at(l, 1), false, 9)), {0, 9, 1, 2}},
        {{0, 1, 2}, EDIT(l.insert(at(l, 1), true, 9)), {0, 1, 9, 2}},
        {{0, 1, 2}, EDIT(l.insert(at(l, 2), true, 9)), {0, 1, 2, 9}},
        {{0, 1, 2}, EDIT(l.remove(l.begin())), {1, 2}}, {{0, 1, 2}, EDIT(l.remove(at(l, 1))), {0, 2}},
        {{0, 1, 2}, EDIT(l.remove(at(l, 2))), {0, 1}}, {{0, 1}, EDIT(l.remove(at(l, 1))), {0}},
        {{0, 1, 2, 3}, EDIT(l.remove(at(l, 1), at(l, 2))), {0, 3}},
        {{0, 1, 2}, EDIT(l.remove(l.begin(), l.begin())), {1, 2}},
        {{0, 1, 2}, EDIT(l.remove(at(l, 1), l.end())), {0}}};
    // clang-format on
    for (const auto& [before, what, edit, after] : cases) {
        IntList list;
        for (int value : before)
            list.pushBack(value);
        edit(list);
        SCOPED_TRACE(what);
        EXPECT_EQ(checked(list), after);
    }
    EXPECT_EQ(IntList().front(), 0); // the shared zero value of an empty list
}

#undef EDIT

TEST(List, EmptyPopsAndNullRemovalsWarnAndChangeNothing) {
    List<String> list;
    testing::internal::CaptureStdout();
    list.popBack();
    list.popFront();
    list.remove(list.end()); // an empty list has nothing to remove: no warning
    list.pushBack(String("a"));
    list.remove(list.end());
    list.remove(list.end(), list.end());
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "WARN : Cannot pop further, the list is empty\nWARN : Cannot pop further, the list is empty\n"
              "WARN : Unable to remove NULL entry from the list\nWARN : Unable to remove NULL entry from the "
              "list\n");
    EXPECT_EQ(list.size(), 1u);
}

TEST(List, LogLinesNameTheElementTypeAsTheFrameworkSpellsIt) {
    EXPECT_STREQ(List<String>::functionName<"popBack">, "zor::List<class zor::String>::popBack");
    EXPECT_STREQ(List<void (*)()>::functionName<"popFront">, "zor::List<void (__cdecl*)(void)>::popFront");
    EXPECT_STREQ(List<uint8>::functionName<"popFront">, "zor::List<unsigned char>::popFront");
    EXPECT_STREQ(List<CompressDataCallback>::functionName<"popBack">,
                 "zor::List<unsigned __int64 (__cdecl*)(const void *,unsigned __int64,"
                 "class zor::Array<unsigned char> &,unsigned char)>::popBack");
    EXPECT_STREQ(List<List<String>*>::functionName<"popBack">,
                 "zor::List<class zor::List<class zor::String> *>::popBack");
    using StringMapBucket = HashMap<String, uint32>::Bucket;
    EXPECT_STREQ(StringMapBucket::functionName<"remove">,
                 "zor::List<struct zor::HashMapBase<class zor::String,unsigned int,struct zor::Hash<class "
                 "zor::String>,struct zor::EqualTo<class zor::String> >::HashMapEntry *>::remove");
}

TEST(List, CopiesOwnTheirStrings) {
    List<String> source, assigned;
    source.pushBack(String(std::string(80, 'h').c_str()));
    assigned.pushBack(String("x"));
    assigned = source;
    List<String> copy(source);
    source.front().assign("changed", 7);
    EXPECT_EQ(assigned.front().length() + copy.front().length(), 160u);
    assigned.swap(source);
    EXPECT_STREQ(assigned.front().c_str(), "changed");
}

TEST(List, NodesComeFromItsAllocator) {
    IntList list;
    list.setAllocator(TestAllocator::record());
    list.pushBack(1);
    list.insert(list.begin(), true, 2);
    list.popBack();
    EXPECT_EQ(TestAllocator::allocations, 2);
    EXPECT_EQ(TestAllocator::frees, 1);
    TestAllocator::exhausted = true;
    list.pushBack(7);
    list.pushFront(7);
    list.insert(list.begin(), true, 7);
    EXPECT_EQ(checked(list), (Ints{1}));
    TestAllocator::exhausted = false;
    list.clear();
    EXPECT_EQ(TestAllocator::frees, 2);
}

} // namespace
} // namespace zor
