#include "host/simulate/Trajectory.h"

#include "host/io/MarkupText.h"
#include "host/simulate/ViewBounds.h"

#include <cmath>
#include <cstdio>

namespace zor::host {

namespace {

constexpr double kPanel = 440;
constexpr double kPanelTop = 60;
constexpr double kPanelLeft[2] = {20, 500};
constexpr const char* kViewNames[2] = {"Side view: x across, y up", "Top view: x across, z down"};
constexpr const char* kColours[] = {"#1f77b4", "#d62728", "#2ca02c", "#ff7f0e",
                                    "#9467bd", "#8c564b", "#e377c2", "#17becf"};

// Panel coordinates are finite (ViewBounds keeps them so); this is the last guard of the
// picture's geometry.
std::string coordinate(double value) {
    if (!std::isfinite(value))
        value = 0;
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

// A position for people to read: four significant digits (the CSV has them all).
std::string roundedText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4g", value);
    return text;
}

const char* colourOf(std::size_t body) {
    return kColours[body % (sizeof kColours / sizeof *kColours)];
}

// The body's path in one view, as subpaths of a path's data; a wrap-around starts a new one.
std::string pathData(const Trajectory& trajectory, std::size_t body, const ViewBounds& bounds, int view) {
    std::string data;
    for (std::size_t step = 0; step < trajectory.stepCount(); ++step) {
        const BodySample& sample = trajectory.at(step, body);
        double across, down;
        bounds.place(sample, kPanel, across, down);
        const bool jump = step == 0 || bounds.isJump(trajectory.at(step - 1, body), sample);
        data += (data.empty() ? "" : " ") + std::string(jump ? "M" : "L") +
                coordinate(kPanelLeft[view] + across) + "," + coordinate(kPanelTop + down);
    }
    return data;
}

// How each kind of scenery face is drawn: a face seen from the front is filled (meshes also
// show their triangles), a face seen edge-on is a line.
struct SceneryStyle {
    SceneryFace::Kind kind;
    const char* fill;
    const char* line;
    bool outlined;
};

constexpr SceneryStyle kSceneryStyles[] = {
    {SceneryFace::Kind::Floor, "fill=\"#e4e4e4\"", "stroke=\"#999\"", false},
    {SceneryFace::Kind::Mesh, "fill=\"#c6dbef\"", "stroke=\"#6b9ac4\"", true},
    {SceneryFace::Kind::Wall, "fill=\"#777\" fill-opacity=\"0.12\"", "stroke=\"#444\" stroke-width=\"2\"",
     false},
    {SceneryFace::Kind::Ceiling, "fill=\"none\"", "stroke=\"#999\" stroke-dasharray=\"4 3\"", false}};

// The scenery of one view: the faces projected onto it, in groups by kind and by whether they
// are seen from the front or edge-on.
std::string sceneryOf(const Trajectory& trajectory, const ViewBounds& bounds, int view) {
    std::string svg;
    std::vector<std::array<double, 2>> corners;
    for (const SceneryStyle& style : kSceneryStyles) {
        if (!bounds.shows(style.kind))
            continue;
        std::string facing, edgeOn;
        for (const SceneryFace& face : trajectory.scenery) {
            if (face.kind != style.kind)
                continue;
            const bool line = bounds.placeFace(face, kPanel, corners);
            std::string points;
            for (const auto& corner : corners)
                points += (points.empty() ? "" : " ") + coordinate(kPanelLeft[view] + corner[0]) + "," +
                          coordinate(kPanelTop + corner[1]);
            (line ? edgeOn : facing) += "<polygon points=\"" + points + "\"/>\n";
        }
        if (!facing.empty())
            svg += "<g " + std::string(style.fill) + " " + (style.outlined ? style.line : "stroke=\"none\"") +
                   ">\n" + facing + "</g>\n";
        if (!edgeOn.empty())
            svg += "<g fill=\"none\" " + std::string(style.line) + ">\n" + edgeOn + "</g>\n";
    }
    return svg;
}

} // namespace

std::string trajectorySvg(const Trajectory& trajectory, const std::string& title) {
    const ViewBounds bounds[2] = {ViewBounds(trajectory, 0), ViewBounds(trajectory, 1)};
    const double height = kPanelTop + kPanel + 30 + 18.0 * static_cast<double>(trajectory.bodies.size());
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"960\" height=\"" +
                      coordinate(height) + "\" viewBox=\"0 0 960 " + coordinate(height) +
                      "\" font-family=\"sans-serif\" font-size=\"13\">\n";
    svg += "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    svg += "<text x=\"20\" y=\"24\" font-size=\"16\">" + xmlText(title) + "</text>\n";
    if (!trajectory.note.empty())
        svg += "<text x=\"20\" y=\"42\" fill=\"#b00\">" + xmlText(trajectory.note) + "</text>\n";
    for (int view = 0; view < 2; ++view) {
        svg += "<rect x=\"" + coordinate(kPanelLeft[view]) + "\" y=\"" + coordinate(kPanelTop) +
               "\" width=\"" + coordinate(kPanel) + "\" height=\"" + coordinate(kPanel) +
               "\" fill=\"none\" stroke=\"#999\"/>\n";
        svg += "<text x=\"" + coordinate(kPanelLeft[view]) + "\" y=\"" + coordinate(kPanelTop - 8) + "\">" +
               kViewNames[view] + "</text>\n";
    }
    for (int view = 0; view < 2; ++view)
        svg += sceneryOf(trajectory, bounds[view], view);
    if (trajectory.stepCount() == 0)
        return svg + "</svg>\n";
    const std::size_t last = trajectory.stepCount() - 1;
    for (std::size_t body = 0; body < trajectory.bodies.size(); ++body) {
        const std::string name = xmlText(trajectory.bodies[body]);
        const char* colour = colourOf(body);
        // One path per body: its side-view and top-view subpaths together.
        svg += "<path data-body=\"" + name + "\" fill=\"none\" stroke=\"" + colour +
               "\" stroke-width=\"1.5\" d=\"" + pathData(trajectory, body, bounds[0], 0) + " " +
               pathData(trajectory, body, bounds[1], 1) + "\"/>\n";
        for (int view = 0; view < 2; ++view) {
            double across, down;
            bounds[view].place(trajectory.at(last, body), kPanel, across, down);
            svg += "<circle cx=\"" + coordinate(kPanelLeft[view] + across) + "\" cy=\"" +
                   coordinate(kPanelTop + down) + "\" r=\"4\" fill=\"" + colour + "\"/>\n";
        }
        const BodySample& end = trajectory.at(last, body);
        const double legendY = kPanelTop + kPanel + 28 + 18.0 * static_cast<double>(body);
        svg += "<text x=\"20\" y=\"" + coordinate(legendY) + "\" fill=\"" + colour + "\">" + name +
               ": ends at (" + roundedText(end.position[0]) + ", " + roundedText(end.position[1]) + ", " +
               roundedText(end.position[2]) + ")</text>\n";
    }
    return svg + "</svg>\n";
}

} // namespace zor::host
