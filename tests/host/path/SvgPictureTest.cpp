#include "host/path/SvgPicture.h"

#include "host/path/SvgPathData.h"

#include <gtest/gtest.h>

#include <string>

namespace zor::host {
namespace {

std::string pictureOf(const char* data) {
    PathSteps steps;
    std::string error;
    EXPECT_TRUE(parseSvgPathData(data, steps, error)) << error;
    return svgPicture(steps);
}

std::string viewBoxOf(const std::string& picture) {
    const std::size_t start = picture.find("viewBox=\"") + 9;
    return picture.substr(start, picture.find('"', start) - start);
}

TEST(SvgPicture, ThePathIsDrawnInAViewBoxAroundAllItsPoints) {
    EXPECT_EQ(
        pictureOf("M0 0 L10 20"),
        "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"-1 -1 12 22\" width=\"279\" height=\"512\">\n"
        "  <path d=\"M0 0 L10 20\" fill=\"none\" stroke=\"black\" stroke-width=\"0.11\" "
        "stroke-linejoin=\"round\"/>\n</svg>\n");
    // Control points count; an arc may reach twice its radius from its start.
    EXPECT_EQ(viewBoxOf(pictureOf("M0 0 C0 -40 10 -40 10 0")), "-2 -42 14 44");
    EXPECT_EQ(viewBoxOf(pictureOf("M0 0 A5 5 0 0 1 10 0")), "-11 -11 22 22");
    // After a close the next figure starts from the first one's start.
    EXPECT_EQ(viewBoxOf(pictureOf("M10 10 L20 10 Z A1 1 0 0 0 12 10")), "7.4 7.4 13.2 5.2");
    EXPECT_EQ(viewBoxOf(pictureOf("")), "-0.05 -0.05 1.1 1.1");
    EXPECT_EQ(viewBoxOf(pictureOf("M3 4")), "2 3 2 2");
}

} // namespace
} // namespace zor::host
