#include "host/path/SvgPathData.h"

#include <gtest/gtest.h>

#include <string>

namespace zor::host {
namespace {

// The path data read and written back in absolute form.
std::string absolute(const std::string& data) {
    PathSteps steps;
    std::string error;
    EXPECT_TRUE(parseSvgPathData(data, steps, error)) << data << ": " << error;
    return formatSvgPathData(steps);
}

TEST(SvgPathData, RelativeCommandsRepeatsAndRunTogetherNumbersComeOutAbsolute) {
    struct Case {
        const char* data;
        const char* expected;
    };
    const Case cases[] = {
        // After a close the current point is the figure's start again.
        {"m5 5h10v10h-10zm20 0h5", "M5 5 L15 5 L15 15 L5 15 Z M25 5 L30 5"},
        // Pairs after a moveto are lines, relative after a relative moveto.
        {"M10 10 20 20 30 10", "M10 10 L20 20 L30 10"},
        {"m10 10 20 20", "M10 10 L30 30"},
        // Arc flags without separators (svgo output): large 1, sweep 1, then the end point 8 1.
        {"M8 15A7 7 0 118 1a7 7 0 010 14z", "M8 15 A7 7 0 1 1 8 1 A7 7 0 0 1 8 15 Z"},
        {"M1e2-2E-1L.5.5l1e+1,0", "M100 -0.2 L0.5 0.5 L10.5 0.5"},
        {"M10 80Q52.5 10 95 80T180 80", "M10 80 Q52.5 10 95 80 T180 80"},
        // Smooth curves keep their kind; their points are relative to the end of the last command.
        {"M12 2C6.48 2 2 6.48 2 12s4.48 10 10 10", "M12 2 C6.48 2 2 6.48 2 12 S6.48 22 12 22"},
        {"M0 0t10 10 10 -10", "M0 0 T10 10 T20 0"},
        {"M0,0 c1,2 3,4 5,6 1,1 1,1 1,1", "M0 0 C1 2 3 4 5 6 C6 7 6 7 6 7"},
        {"  \n\tM -0 0 z ", "M-0 0 Z"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(absolute(c.data), c.expected) << c.data;
}

TEST(SvgPathData, RealWorldPathsComeBackWithTheSameGeometry) {
    const char* const paths[] = {
        // Material icons: account circle and heart.
        "M12 2C6.48 2 2 6.48 2 12s4.48 10 10 10 10-4.48 10-10S17.52 2 12 2zm0 4c1.93 0 3.5 1.57 3.5 3.5S13.93 "
        "13 12 13s-3.5-1.57-3.5-3.5S10.07 6 12 6zm0 14c-2.03 0-4.43-.82-6.14-2.88C7.55 15.8 9.68 15 12 15s4.45.8 "
        "6.14 2.12C16.43 19.18 14.03 20 12 20z",
        "M12 21.35l-1.45-1.32C5.4 15.36 2 12.28 2 8.5 2 5.42 4.42 3 7.5 3c1.74 0 3.41.81 4.5 2.09C13.09 3.81 "
        "14.76 3 16.5 3 19.58 3 22 5.42 22 8.5c0 3.78-3.4 6.86-8.55 11.54L12 21.35z",
        // Bootstrap icons after svgo: arcs with their flags run together.
        "M8 15A7 7 0 118 1a7 7 0 010 14zm0 1A8 8 0 108 0a8 8 0 000 16z",
        // A grid of lines with H and V.
        "M3 3h18v18H3zM9 3v18M15 3v18M3 9h18M3 15h18",
        // Arcs with rotations, from a drawing program.
        "M 10 315 L 110 215 A 30 50 0 0 1 162.55 162.45 L 172.55 152.45 A 30 50 -45 0 1 215.1 109.9 L 315 10",
        // Exponents, as exporters write them.
        "m-1.5e-3,2.25E+2 c1e1,0 2e1,-1.5e1 3.0e1,-3e1 l-.5-.5.25.25z",
        // Font Awesome: long relative runs.
        "M256 8C119 8 8 119 8 256s111 248 248 248 248-111 248-248S393 8 256 8zm0 448c-110.5 0-200-89.5-200-200S145.5 "
        "56 256 56s200 89.5 200 200-89.5 200-200 200z",
        "M10 80Q52.5 10 95 80T180 80t50 0q10-10 20 0",
    };
    for (const char* data : paths) {
        PathSteps read, again;
        std::string error;
        ASSERT_TRUE(parseSvgPathData(data, read, error)) << data << ": " << error;
        const std::string written = formatSvgPathData(read);
        ASSERT_TRUE(parseSvgPathData(written, again, error)) << written << ": " << error;
        EXPECT_EQ(again, read) << data << "\nwritten as " << written;
        EXPECT_EQ(formatSvgPathData(again), written);
    }
}

TEST(SvgPathData, MalformedDataNamesTheColumnAndWhatWasExpected) {
    struct Case {
        const char* data;
        const char* error;
    };
    const Case cases[] = {
        {"L10 10", "column 1: expected a moveto command (M or m) to begin with, found 'L'"},
        {"M10", "column 4: expected a number, found the end"},
        {"M10 10 L5 x", "column 11: expected a number, found 'x'"},
        {"M0 0A5 5 0 2 0 10 10", "column 12: expected an arc flag (0 or 1), found '2'"},
        {"M0 0Z5", "column 6: expected a command letter (M, L, H, V, C, S, Q, T, A or Z), found '5'"},
        {"M0 0X1", "column 5: expected a command letter (M, L, H, V, C, S, Q, T, A or Z), found 'X'"},
        {"M1e 2", "column 4: expected the digits of an exponent, found ' '"},
        {"M0,,0", "column 4: expected a number, found ','"},
        {"M0 0 L1 2 3", "column 12: expected a number, found the end"},
        {"M0 0 L1 2,", "column 11: expected a number, found the end"},
        {"M1e999 0", "column 2: expected a number within the range of double, found '1'"},
        {"M0 0 L1 \xC3\xA9", "column 9: expected a number, found byte 0xC3"},
    };
    for (const Case& c : cases) {
        PathSteps steps(1);
        std::string error;
        EXPECT_FALSE(parseSvgPathData(c.data, steps, error)) << c.data;
        EXPECT_EQ(error, c.error) << c.data;
        EXPECT_EQ(steps.size(), 1u) << "left unchanged";
    }
}

} // namespace
} // namespace zor::host
