#include "host/simulate/ViewBounds.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zor::host {

namespace {

// Bounds of points in one view: lowest and highest along its two axes.
struct Box {
    double low[2] = {std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity()};
    double high[2] = {-std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};

    void cover(const double* position, const int* axes) {
        for (int axis = 0; axis < 2; ++axis) {
            const double value = position[axes[axis]];
            if (!std::isfinite(value))
                continue;
            low[axis] = std::min(low[axis], value);
            high[axis] = std::max(high[axis], value);
        }
    }
    void cover(const Box& box) {
        for (int axis = 0; axis < 2; ++axis) {
            low[axis] = std::min(low[axis], box.low[axis]);
            high[axis] = std::max(high[axis], box.high[axis]);
        }
    }
    double extent() const {
        double most = 0;
        for (int axis = 0; axis < 2; ++axis)
            if (low[axis] <= high[axis])
                most = std::max(most, high[axis] - low[axis]);
        return most;
    }
};

} // namespace

ViewBounds::ViewBounds(const Trajectory& trajectory, int view) : m_view(view) {
    const int* axes = kAxes[view];
    Box scenery;
    for (const SceneryFace& face : trajectory.scenery)
        for (const auto& corner : face.corners)
            scenery.cover(corner.data(), axes);
    const std::size_t bodies = trajectory.bodies.size();
    std::vector<Box> paths(bodies);
    // A static mesh's corners are in the scenery; its origin may lie anywhere.
    const auto isScenery = [&](std::size_t body) {
        return body < trajectory.shapes.size() && trajectory.shapes[body].isScenery();
    };
    for (std::size_t sample = 0; bodies != 0 && sample < trajectory.samples.size(); ++sample)
        if (!isScenery(sample % bodies))
            paths[sample % bodies].cover(trajectory.samples[sample].position, axes);
    // A body is far when the view without it would be over ten times smaller.
    Box all = scenery;
    for (const Box& path : paths)
        all.cover(path);
    m_far.assign(bodies, false);
    for (std::size_t body = 0; body < bodies; ++body) {
        Box others = scenery;
        for (std::size_t other = 0; other < bodies; ++other)
            if (other != body)
                others.cover(paths[other]);
        m_far[body] = others.extent() > 0 && all.extent() > 10 * others.extent();
    }
    Box shown = scenery;
    for (std::size_t body = 0; body < bodies; ++body)
        if (!m_far[body])
            shown.cover(paths[body]);
    double low[2], high[2];
    for (int axis = 0; axis < 2; ++axis) {
        low[axis] = shown.low[axis] <= shown.high[axis] ? shown.low[axis] : 0;
        high[axis] = shown.low[axis] <= shown.high[axis] ? shown.high[axis] : 0;
    }
    double extent = shown.extent();
    if (extent == 0)
        extent = 1;
    // Bodies flung to the ends of the number range still give a finite view.
    extent = std::min(extent, 1e300);
    // A tenth of the extent around the paths, the shorter axis centred.
    m_extent = extent * 1.2;
    for (int axis = 0; axis < 2; ++axis)
        m_low[axis] = low[axis] / 2 + high[axis] / 2 - m_extent / 2;
}

void ViewBounds::place(const double* position, double size, double& across, double& down) const {
    // Beyond the bounds is at the edge: far bodies are shown there, and the numbers stay finite.
    const auto fraction = [&](int axis) {
        const double value = (position[kAxes[m_view][axis]] - m_low[axis]) / m_extent;
        return std::isnan(value) ? 0.0 : std::clamp(value, 0.0, 1.0);
    };
    const double u = fraction(0);
    const double v = fraction(1);
    across = u * size;
    // Up is up in the side view; in the top view z grows towards the viewer, drawn downwards.
    down = m_view == 0 ? (1 - v) * size : v * size;
}

bool ViewBounds::placeFace(const SceneryFace& face, double size,
                           std::vector<std::array<double, 2>>& points) const {
    points.clear();
    double twiceArea = 0;
    for (const auto& corner : face.corners) {
        std::array<double, 2> point;
        place(corner.data(), size, point[0], point[1]);
        if (!points.empty())
            twiceArea += points.back()[0] * point[1] - point[0] * points.back()[1];
        points.push_back(point);
    }
    if (!points.empty())
        twiceArea += points.back()[0] * points.front()[1] - points.front()[0] * points.back()[1];
    return std::fabs(twiceArea) < 1e-9 * size * size;
}

bool ViewBounds::isJump(const BodySample& a, const BodySample& b) const {
    for (int axis = 0; axis < 2; ++axis) {
        const int index = kAxes[m_view][axis];
        if (std::fabs(b.position[index] - a.position[index]) > m_extent / 2)
            return true;
    }
    return false;
}

} // namespace zor::host
