#include "common/memory/RefCountedData.h"

#include "support/VtableSlot.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

using test::vtableSlot;

TEST(FoundationSlots, RefCountedData) {
    EXPECT_EQ(vtableSlot(&RefCountedData::deletingDestructor), 0u);
    EXPECT_EQ(vtableSlot(&RefCountedData::create), 1u);
    EXPECT_EQ(vtableSlot(&RefCountedData::retain), 2u);
    EXPECT_EQ(vtableSlot(&RefCountedData::release), 3u);
    EXPECT_EQ(vtableSlot(&RefCountedData::referenceCount), SIZE_MAX);
}

} // namespace
} // namespace zor
