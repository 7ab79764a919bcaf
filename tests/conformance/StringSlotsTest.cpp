#include "common/containers/String.h"

#include "support/VtableSlot.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

using test::vtableSlot;

TEST(FoundationSlots, String) {
    EXPECT_EQ(vtableSlot(&String::deletingDestructor), 0u);
    EXPECT_EQ(vtableSlot(&String::create), 1u);
    EXPECT_EQ(vtableSlot(&String::retain), 2u);
    EXPECT_EQ(vtableSlot(&String::release), 3u);
    EXPECT_EQ(vtableSlot(&String::clear), 4u);
    EXPECT_EQ(vtableSlot(&String::resize), 5u);
    EXPECT_EQ(vtableSlot(&String::allocate), 6u);
    EXPECT_EQ(vtableSlot(&String::reallocate), 7u);
    EXPECT_EQ(vtableSlot(&String::deallocate), 8u);
    EXPECT_EQ(vtableSlot(&String::assign), SIZE_MAX);
    EXPECT_EQ(ZOR_SLOT_OF(String, void, (const String&), pushBack), SIZE_MAX);
}

TEST(FoundationSlots, StringLayout) {
    // Table, counter, counter free function, then data, size, capacity and the inline buffer.
    EXPECT_EQ(sizeof(String), 3 * sizeof(void*) + sizeof(char*) + 2 * sizeof(uint64) + 64);
    // String keeps the base's create: a plain RefCountedData.
    String string;
    RefCountedData* created = string.create();
    EXPECT_EQ(dynamic_cast<String*>(created), nullptr);
    created->release();
}

} // namespace
} // namespace zor
