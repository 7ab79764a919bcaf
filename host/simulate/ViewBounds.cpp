#include "host/simulate/ViewBounds.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zor::host {

ViewBounds::ViewBounds(const Trajectory& trajectory, int view) : m_view(view) {
    double low[2] = {std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity()};
    double high[2] = {-low[0], -low[1]};
    const auto cover = [&](const double* position) {
        for (int axis = 0; axis < 2; ++axis) {
            const double value = position[kAxes[view][axis]];
            if (!std::isfinite(value))
                continue;
            low[axis] = std::min(low[axis], value);
            high[axis] = std::max(high[axis], value);
        }
    };
    for (const BodySample& sample : trajectory.samples)
        cover(sample.position);
    for (const SceneryFace& face : trajectory.scenery)
        for (const auto& corner : face.corners)
            cover(corner.data());
    double extent = 0;
    for (int axis = 0; axis < 2; ++axis) {
        if (low[axis] > high[axis])
            low[axis] = high[axis] = 0;
        extent = std::max(extent, high[axis] - low[axis]);
    }
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
    // Far outside the panel is as good as infinitely far: the picture's numbers stay finite.
    const auto fraction = [&](int axis) {
        const double value = (position[kAxes[m_view][axis]] - m_low[axis]) / m_extent;
        return std::isnan(value) ? 0.0 : std::clamp(value, -100.0, 100.0);
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
