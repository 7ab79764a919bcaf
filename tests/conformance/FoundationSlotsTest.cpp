#include "common/containers/String.h"

#include "support/VtableSlot.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

using test::vtableSlot;

TEST(FoundationSlots, RefCountedData) {
    using R = RefCountedData;
    const test::NamedSlot slots[] = {ZOR_NAMED_SLOT(R, deletingDestructor), ZOR_NAMED_SLOT(R, create),
                                     ZOR_NAMED_SLOT(R, retain), ZOR_NAMED_SLOT(R, release)};
    test::expectSlotsInOrder(slots);
    EXPECT_EQ(vtableSlot(&RefCountedData::referenceCount), SIZE_MAX);
}

TEST(FoundationSlots, String) {
    // clang-format off
    const test::NamedSlot slots[] = {
        ZOR_NAMED_SLOT(String, deletingDestructor), ZOR_NAMED_SLOT(String, create),
        ZOR_NAMED_SLOT(String, retain), ZOR_NAMED_SLOT(String, release), ZOR_NAMED_SLOT(String, clear),
        ZOR_NAMED_SLOT(String, resize), ZOR_NAMED_SLOT(String, allocate), ZOR_NAMED_SLOT(String, reallocate),
        ZOR_NAMED_SLOT(String, deallocate)
    };
    // clang-format on
    test::expectSlotsInOrder(slots);
    EXPECT_EQ(vtableSlot(&String::assign), SIZE_MAX);
    EXPECT_EQ(ZOR_SLOT_OF(String, void, (const String&), pushBack), SIZE_MAX);

    // Table, counter, counter free function, then data, size, capacity and the inline buffer.
    EXPECT_EQ(sizeof(String), 3 * sizeof(void*) + sizeof(char*) + 2 * sizeof(uint64) + 64);
    // String keeps the base's create: a plain RefCountedData.
    RefCountedData* created = String().create();
    EXPECT_EQ(dynamic_cast<String*>(created), nullptr);
    created->release();
}

} // namespace
} // namespace zor
