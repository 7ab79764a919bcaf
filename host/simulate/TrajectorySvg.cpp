#include "host/simulate/Trajectory.h"

#include "host/io/MarkupText.h"
#include "host/simulate/ViewBounds.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace zor::host {

namespace {

constexpr double kPanel = 440;
constexpr double kPanelTop = 60;
constexpr double kPanelLeft[2] = {56, 550};
constexpr double kWidth = 1010;
// Below the panels: the tick labels and the axis names, then the legend.
constexpr double kLegendTop = kPanelTop + kPanel + 56;
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

// A round step for ticks: 1, 2 or 5 times a power of ten, about a sixth of `extent`.
double tickStep(double extent) {
    const double raw = extent / 6;
    const double power = std::pow(10, std::floor(std::log10(raw)));
    const double m = raw / power;
    return (m < 1.5 ? 1 : m < 3.5 ? 2 : m < 7.5 ? 5 : 10) * power;
}

// A tick's value for people to read: as many decimals as the step needs.
std::string tickText(double value, double step) {
    const int decimals = std::clamp(static_cast<int>(-std::floor(std::log10(step) + 1e-9)), 0, 6);
    char text[48];
    std::snprintf(text, sizeof text, "%.*f", decimals, std::fabs(value) < step / 1e6 ? 0.0 : value);
    return text;
}

// Grid lines with their values in metres along both axes of a view, the axes' names, and a
// scale bar one tick long in the panel's top right corner.
std::string axesOf(const ViewBounds& bounds, int view) {
    const double left = kPanelLeft[view], step = tickStep(bounds.extent()), scale = kPanel / bounds.extent();
    if (!std::isfinite(step) || step <= 0 || bounds.extent() / step > 50)
        return "";
    std::string lines, labels;
    for (int axis = 0; axis < 2; ++axis)
        for (double tick = std::ceil(bounds.low(axis) / step) * step;
             tick <= bounds.low(axis) + bounds.extent(); tick += step) {
            const double offset = (tick - bounds.low(axis)) * scale;
            if (axis == 0) {
                const std::string x = coordinate(left + offset);
                lines += "<line x1=\"" + x + "\" y1=\"" + coordinate(kPanelTop) + "\" x2=\"" + x +
                         "\" y2=\"" + coordinate(kPanelTop + kPanel) + "\"/>\n";
                labels += "<text x=\"" + x + "\" y=\"" + coordinate(kPanelTop + kPanel + 14) +
                          "\" text-anchor=\"middle\">" + tickText(tick, step) + "</text>\n";
            } else {
                // Up the side view, down the top view.
                const std::string y =
                    coordinate(view == 0 ? kPanelTop + kPanel - offset : kPanelTop + offset);
                lines += "<line x1=\"" + coordinate(left) + "\" y1=\"" + y + "\" x2=\"" +
                         coordinate(left + kPanel) + "\" y2=\"" + y + "\"/>\n";
                labels += "<text x=\"" + coordinate(left - 4) + "\" y=\"" + y +
                          "\" dy=\"4\" text-anchor=\"end\">" + tickText(tick, step) + "</text>\n";
            }
        }
    const double barRight = left + kPanel - 8, barLeft = barRight - step * scale, barY = kPanelTop + 12;
    return "<g stroke=\"#eee\">\n" + lines + "</g>\n<g fill=\"#777\" font-size=\"10\">\n" + labels +
           "<text x=\"" + coordinate(left + kPanel) + "\" y=\"" + coordinate(kPanelTop + kPanel + 30) +
           "\" text-anchor=\"end\" font-size=\"12\">x (m)</text>\n<text x=\"" + coordinate(left - 4) +
           "\" y=\"" + coordinate(kPanelTop - 8) + "\" text-anchor=\"end\" font-size=\"12\">" +
           (view == 0 ? "y (m)" : "z (m)") + "</text>\n</g>\n<line x1=\"" + coordinate(barLeft) + "\" y1=\"" +
           coordinate(barY) + "\" x2=\"" + coordinate(barRight) + "\" y2=\"" + coordinate(barY) +
           "\" stroke=\"#222\" stroke-width=\"2\"/>\n<text x=\"" + coordinate(barLeft - 4) + "\" y=\"" +
           coordinate(barY + 4) + "\" text-anchor=\"end\" font-size=\"10\">" + tickText(step, step) +
           " m</text>\n";
}

// `point` of a body's own frame turned by the body's rotation (about x, then y, then z).
std::array<double, 3> turned(const std::array<double, 3>& point, const double* rotation) {
    double x = point[0], y = point[1], z = point[2];
    const double cx = std::cos(rotation[0]), sx = std::sin(rotation[0]), cy = std::cos(rotation[1]),
                 sy = std::sin(rotation[1]), cz = std::cos(rotation[2]), sz = std::sin(rotation[2]);
    double t = y * cx - z * sx;
    z = y * sx + z * cx;
    y = t;
    t = x * cy + z * sy;
    z = -x * sy + z * cy;
    x = t;
    t = x * cz - y * sz;
    y = x * sz + y * cz;
    return {t, y, z};
}

// The body at `sample` in one view: a sphere or a capsule to scale (a mark of at least a few
// units wide), anything else a dot; a far body is a dot at the panel's edge.
std::string bodyMark(const Trajectory& trajectory, std::size_t body, const BodySample& sample,
                     const ViewBounds& bounds, int view, const char* colour) {
    const BodyShape shape =
        body < trajectory.shapes.size() && !bounds.isFar(body) ? trajectory.shapes[body] : BodyShape{};
    const double scale = kPanel / bounds.extent();
    double across, down;
    bounds.place(sample, kPanel, across, down);
    const std::string x = coordinate(kPanelLeft[view] + across), y = coordinate(kPanelTop + down);
    if (shape.kind == BodyShape::Kind::Capsule) {
        const auto axis = turned({0, shape.height / 2, 0}, sample.rotation);
        double ends[2][2];
        for (int end = 0; end < 2; ++end) {
            const double sign = end ? 1 : -1;
            const double p[3] = {sample.position[0] + sign * axis[0], sample.position[1] + sign * axis[1],
                                 sample.position[2] + sign * axis[2]};
            bounds.place(p, kPanel, ends[end][0], ends[end][1]);
        }
        return "<line x1=\"" + coordinate(kPanelLeft[view] + ends[0][0]) + "\" y1=\"" +
               coordinate(kPanelTop + ends[0][1]) + "\" x2=\"" + coordinate(kPanelLeft[view] + ends[1][0]) +
               "\" y2=\"" + coordinate(kPanelTop + ends[1][1]) + "\" stroke=\"" + colour +
               "\" stroke-opacity=\"0.8\"" + " stroke-linecap=\"round\" stroke-width=\"" +
               coordinate(std::max(4.0, 2 * shape.radius * scale)) + "\"/>\n";
    }
    const double radius = shape.kind == BodyShape::Kind::Sphere ? std::max(3.0, shape.radius * scale) : 4;
    return "<circle cx=\"" + x + "\" cy=\"" + y + "\" r=\"" + coordinate(radius) + "\" fill=\"" + colour +
           "\" fill-opacity=\"0.8\" stroke=\"#333\" stroke-width=\"0.5\"/>\n";
}

} // namespace

std::string trajectorySvg(const Trajectory& trajectory, const std::string& title) {
    const ViewBounds bounds[2] = {ViewBounds(trajectory, 0), ViewBounds(trajectory, 1)};
    // Static meshes are drawn with the scenery; the rest are the bodies, each with its path and
    // a line of the legend.
    std::vector<std::size_t> moving;
    for (std::size_t body = 0; body < trajectory.bodies.size(); ++body)
        if (body >= trajectory.shapes.size() || !trajectory.shapes[body].isScenery())
            moving.push_back(body);
    const double height = kLegendTop + 18.0 * static_cast<double>(moving.size());
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                      coordinate(kWidth) + "\" height=\"" + coordinate(height) + "\" viewBox=\"0 0 " +
                      coordinate(kWidth) + " " + coordinate(height) +
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
        svg += axesOf(bounds[view], view) + sceneryOf(trajectory, bounds[view], view);
    if (trajectory.stepCount() == 0)
        return svg + "</svg>\n";
    const std::size_t last = trajectory.stepCount() - 1;
    for (std::size_t line = 0; line < moving.size(); ++line) {
        const std::size_t body = moving[line];
        const std::string name = xmlText(trajectory.bodies[body]);
        const char* colour = colourOf(body);
        // One path per body: its side-view and top-view subpaths together.
        svg += "<path data-body=\"" + name + "\" fill=\"none\" stroke=\"" + colour +
               "\" stroke-width=\"1.5\" d=\"" + pathData(trajectory, body, bounds[0], 0) + " " +
               pathData(trajectory, body, bounds[1], 1) + "\"/>\n";
        for (int view = 0; view < 2; ++view) {
            // A square where the body started, the body itself where it ended.
            double across, down;
            bounds[view].place(trajectory.at(0, body), kPanel, across, down);
            svg += "<rect x=\"" + coordinate(kPanelLeft[view] + across - 3) + "\" y=\"" +
                   coordinate(kPanelTop + down - 3) + "\" width=\"6\" height=\"6\" fill=\"none\" stroke=\"" +
                   colour + "\"/>\n" +
                   bodyMark(trajectory, body, trajectory.at(last, body), bounds[view], view, colour);
        }
        const BodySample& end = trajectory.at(last, body);
        const double legendY = kLegendTop + 18.0 * static_cast<double>(line);
        svg += "<text x=\"20\" y=\"" + coordinate(legendY) + "\" fill=\"" + colour + "\">" + name +
               ": ends at (" + roundedText(end.position[0]) + ", " + roundedText(end.position[1]) + ", " +
               roundedText(end.position[2]) + ")" +
               (bounds[0].isFar(body) || bounds[1].isFar(body) ? ", beyond the views: at their edge" : "") +
               "</text>\n";
    }
    return svg + "</svg>\n";
}

} // namespace zor::host
