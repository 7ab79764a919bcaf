#include "common/path/AnchorKeywords.h"

#include "common/containers/String.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace zor {
namespace {

using Converter = bool (*)(String&, uint8&, bool);

// The code of `keyword`, or -1 when it converts to nothing (the code must then stay as it was).
int codeOf(Converter convert, const char* keyword) {
    String text(keyword);
    uint8 code = 77;
    if (convert(text, code, true))
        return code;
    EXPECT_EQ(code, 77) << keyword;
    return -1;
}

// The keyword of `code`, or "-" when it has none (the keyword must then stay as it was).
std::string keywordOf(Converter convert, int code) {
    String keyword("unchanged");
    uint8 byte = static_cast<uint8>(code);
    if (convert(keyword, byte, false))
        return keyword.c_str();
    EXPECT_TRUE(keyword == "unchanged") << code;
    return "-";
}

// The sixteen named anchors of each axis in code order, written out here as the files spell them.
const char* const kHorizontal =
    "LEFT RIGHT CENTER PARENT_WIDTH_PERCENT ABSOLUTE PREV_LEFT PREV_RIGHT PREV_CENTER "
    "PREV_LEFT_PLUS_WIDTH_PERCENT NEXT_LEFT NEXT_RIGHT NEXT_CENTER "
    "NEXT_LEFT_PLUS_WIDTH_PERCENT RIGHT_MINUS_SIZE PARENT_WIDTH_PERCENT_MINUS_WIDTH "
    "PARENT_WIDTH_PERCENT_WITHOUT_WIDTH";
const char* const kVertical =
    "TOP BOTTOM CENTER PARENT_HEIGHT_PERCENT ABSOLUTE PREV_TOP PREV_BOTTOM PREV_CENTER "
    "PREV_TOP_PLUS_HEIGHT_PERCENT NEXT_TOP NEXT_BOTTOM NEXT_CENTER "
    "NEXT_TOP_PLUS_HEIGHT_PERCENT BOTTOM_MINUS_HEIGHT PARENT_HEIGHT_PERCENT_MINUS_HEIGHT "
    "PARENT_HEIGHT_PERCENT_WITHOUT_HEIGHT";

TEST(AnchorKeywords, EveryCodeHasItsOneKeywordBothWays) {
    struct Axis {
        Converter convert;
        const char* names;
        const char* separator;
    };
    for (const Axis& axis : {Axis{&convertHorizontalAnchor, kHorizontal, "V_SEPARATOR_"},
                             Axis{&convertVerticalAnchor, kVertical, "H_SEPARATOR_"}}) {
        std::istringstream names(axis.names);
        for (int code = 0; code < 256; ++code) {
            std::string expected = "-";
            if (code < 16)
                names >> expected;
            else if (code >= 128 && code < 144)
                expected = axis.separator + std::to_string(code - 127);
            EXPECT_EQ(keywordOf(axis.convert, code), expected) << code;
            if (expected != "-") {
                EXPECT_EQ(codeOf(axis.convert, expected.c_str()), code) << expected;
            }
        }
    }
}

TEST(AnchorKeywords, OnlyTheExactKeywordOfTheRightAxisConverts) {
    struct Case {
        const char* keyword;
        int horizontal;
        int vertical;
    };
    // clang-format off
    const Case cases[] = {
        {"LEFT", 0, -1}, {"TOP", -1, 0}, {"left", -1, -1}, {"LEFT ", -1, -1}, {" TOP", -1, -1}, {"", -1, -1},
        {"V_SEPARATOR_16", 143, -1}, {"H_SEPARATOR_1", -1, 128}, {"V_SEPARATOR_17", -1, -1},
        {"V_SEPARATOR_0", -1, -1}, {"V_SEPARATOR_01", -1, -1}, {"RIGHT_MINUS_SIZE", 13, -1},
        {"BOTTOM_MINUS_HEIGHT", -1, 13}, {"RIGHT_MINUS_WIDTH", -1, -1}, {"CENTER", 2, 2}, {"NEXT_CENTER", 11, 11}};
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(codeOf(&convertHorizontalAnchor, c.keyword), c.horizontal) << '"' << c.keyword << '"';
        EXPECT_EQ(codeOf(&convertVerticalAnchor, c.keyword), c.vertical) << '"' << c.keyword << '"';
    }
}

} // namespace
} // namespace zor
