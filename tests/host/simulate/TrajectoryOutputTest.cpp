#include "host/simulate/Trajectory.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace zor::host {
namespace {

std::size_t count(const std::string& text, const std::string& piece) {
    std::size_t found = 0;
    for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1))
        ++found;
    return found;
}

// Two bodies over three steps; the second leaves the view on the right and comes back left.
Trajectory sampleRun() {
    Trajectory run;
    run.bodies = {"ball", "a<b&\"c\""};
    run.times = {0, 0.5, 1};
    const double xs[3][2] = {{0, 9}, {0, 11}, {0, -9}};
    for (int step = 0; step < 3; ++step)
        for (int body = 0; body < 2; ++body)
            run.samples.push_back(BodySample{
                {xs[step][body], -1.25 * step, 0.1 * body}, {0, 0, 0.5 * step}, {0, -2.5 * step, 0}});
    return run;
}

TEST(TrajectoryOutput, NumbersReadBackToTheSameValue) {
    for (double value : {0.0, 0.1, -2.4525, 1.0 / 3, 1e-300, 6.02214076e23}) {
        const std::string text = numberText(value);
        EXPECT_EQ(std::strtod(text.c_str(), nullptr), value) << text;
    }
    EXPECT_EQ(numberText(0.1), "0.1");
    EXPECT_EQ(numberText(-4.905), "-4.905");
}

TEST(TrajectoryOutput, CsvHasOneRowPerStepAndBody) {
    const std::string csv = trajectoryCsv(sampleRun());
    EXPECT_EQ(csv.substr(0, csv.find('\n')),
              "step,time,element,x,y,z,rotationX,rotationY,rotationZ,speedX,speedY,speedZ");
    EXPECT_NE(csv.find("\n1,0.5,ball,0,-1.25,0,0,0,0.5,0,-2.5,0\n"), std::string::npos);
    EXPECT_NE(csv.find("\n2,1,\"a<b&\"\"c\"\"\",-9,-2.5,0.1,"), std::string::npos) << "quoted field";
    EXPECT_EQ(count(csv, "\n"), 1u + 3 * 2);
}

TEST(TrajectoryOutput, SvgDrawsOnePathPerBodyBrokenAtWrapArounds) {
    const std::string svg = trajectorySvg(sampleRun(), "Run <1>");
    EXPECT_EQ(count(svg, "<path "), 2u);
    EXPECT_EQ(count(svg, "<circle "), 4u) << "the final position in both views";
    EXPECT_NE(svg.find("<text x=\"20\" y=\"24\" font-size=\"16\">Run &lt;1&gt;</text>"), std::string::npos);
    EXPECT_NE(svg.find("data-body=\"a&lt;b&amp;&quot;c&quot;\""), std::string::npos);
    // Side and top subpaths of the first body: a start each and no jump.
    const std::size_t first = svg.find(" d=\"");
    const std::string ball = svg.substr(first, svg.find('"', first + 4) - first);
    EXPECT_EQ(count(ball, "M"), 2u);
    const std::size_t second = svg.find(" d=\"", first + 1);
    const std::string wrapped = svg.substr(second, svg.find('"', second + 4) - second);
    EXPECT_EQ(count(wrapped, "M"), 4u) << "each view restarts where the body wrapped";
    EXPECT_NE(svg.find("ends at (-9, -2.5, 0.1)"), std::string::npos);
}

TEST(TrajectoryOutput, SvgFillsTheSceneryItFacesAndDrawsTheRestAsLines) {
    Trajectory run = sampleRun();
    using Kind = SceneryFace::Kind;
    run.scenery = {{Kind::Floor, {{0, 0, 0}, {0, 0, -1}, {1, 0, -1}, {1, 0, 0}}},
                   {Kind::Ceiling, {{0, 2, 0}, {1, 2, 0}, {1, 2, -1}, {0, 2, -1}}},
                   {Kind::Wall, {{1, 0, 0}, {1, 2, 0}, {1, 2, -1}, {1, 0, -1}}}};
    const std::string svg = trajectorySvg(run, "Run");
    // From the side all three are edge-on; from above the floor is filled, the wall is a line
    // and the ceiling is left out.
    EXPECT_EQ(count(svg, "<polygon "), 5u);
    EXPECT_EQ(count(svg, "<g fill=\"none\""), 4u);
    EXPECT_EQ(count(svg, "<g fill=\"#e4e4e4\""), 1u);
    EXPECT_LT(svg.find("<polygon "), svg.find("<path ")) << "the paths are drawn over the scenery";
}

TEST(TrajectoryOutput, ReplayPageCarriesTheRunWithoutBreakingItsScript) {
    const std::string page = replayPage(sampleRun(), "Run");
    EXPECT_NE(page.find("\"bodies\":[\"ball\",\"a\\u003cb\\u0026\\\"c\\\"\"]"), std::string::npos);
    EXPECT_NE(page.find("\"times\":[0,0.5,1]"), std::string::npos);
    EXPECT_EQ(count(page, "<script>"), 1u);
    EXPECT_EQ(count(page, "</script>"), 1u);
}

} // namespace
} // namespace zor::host
