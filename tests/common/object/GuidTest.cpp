#include "common/object/Guid.h"
#include "common/object/Identifiers.h"

#include <gtest/gtest.h>

#include <string>

namespace zor {
namespace {

std::string text(const GUID_t& guid) {
    char out[37];
    guid.format(out);
    return out;
}

TEST(Guid, BytesFollowTheTextInOrderAndCompareAllSixteen) {
    const GUID_t guid("26d5f972-8210-46d8-aaae-d3643cf3ac0f");
    EXPECT_EQ(guid.m_bytes[0], 0x26);
    EXPECT_EQ(guid.m_bytes[4], 0x82);
    EXPECT_EQ(guid.m_bytes[6], 0x46);
    for (int i = 0; i < 16; ++i) {
        GUID_t changed = guid;
        changed.m_bytes[i] ^= 0x80;
        EXPECT_FALSE(changed == guid) << i;
    }
    EXPECT_EQ(GUID_t(nullptr), GUID_t());
    // Identifier constants are parsed by the compiler, before any code runs.
    static_assert(guids::kHitTestAttribute.m_bytes[0] == 0x26 &&
                  guids::kHitTestAttribute.m_bytes[15] == 0x0f);
    EXPECT_EQ(text(guids::kCollisionDetector), "b800576a-298c-4839-bc5b-3056ff6b68b7");
}

TEST(Guid, EachFieldReadsLikeAFormattedHexConversionOfWidthTwo) {
    const char* const cases[][2] = {
        {"36C48E50-6E82-44B7-A832-AF920AA0B834", "36c48e50-6e82-44b7-a832-af920aa0b834"},
        {"", "00000000-0000-0000-0000-000000000000"},
        {"26d5f972", "26d5f972-0000-0000-0000-000000000000"},
        // The scan stops at a missing dash and at a non-hex digit; a dash where a digit belongs
        // is read as the sign of a one-digit field.
        {"26d5f972_8210-46d8-aaae-d3643cf3ac0f", "26d5f972-0000-0000-0000-000000000000"},
        {"26d5f9zz-8210-46d8-aaae-d3643cf3ac0f", "26d5f900-0000-0000-0000-000000000000"},
        {"26d5f9-8210-46d8-aaae-d3643cf3ac0f", "26d5f9f8-0000-0000-0000-000000000000"},
        {"0x112233-4455", "00000000-0000-0000-0000-000000000000"},
        // Blanks before a field are skipped; a sign takes one of the two characters and a
        // negative value wraps to the byte; a text longer than the pattern is ignored past it.
        {" 1 2 3 4-\t5\n6-0708-090a-0b0c0d0e0f10", "01020304-0506-0708-090a-0b0c0d0e0f10"},
        {"-1+2a1b2-0000-0000-0000-000000000000", "ff02a1b2-0000-0000-0000-000000000000"},
        {"a1b2c3d4-e5f6-0718-293a-4b5c6d7e8f90trailing", "a1b2c3d4-e5f6-0718-293a-4b5c6d7e8f90"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(text(GUID_t(c[0])), c[1]) << c[0];
}

} // namespace
} // namespace zor
