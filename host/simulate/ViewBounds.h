#pragma once

#include "host/simulate/Trajectory.h"

namespace zor::host {

/// The two views of a run, the side view (x across, y up) and the top view (x across, z down),
/// and where a point lands in a square panel of a picture: one scale for both axes, so that
/// paths keep their shape, with a margin around what the bodies and the scenery cover. A body
/// whose path alone would make the view ten times wider is left out of the bounds: it is shown
/// at the panel's edge rather than squashing the others to dots.
class ViewBounds {
public:
    /// The coordinates each view shows: (0, 1) side, (0, 2) top.
    static constexpr int kAxes[2][2] = {{0, 1}, {0, 2}};

    ViewBounds(const Trajectory& trajectory, int view);

    /// The panel coordinates of `position` in a panel of `size` units, y downwards; a point
    /// beyond the bounds lands on the panel's edge.
    void place(const double* position, double size, double& across, double& down) const;
    void place(const BodySample& sample, double size, double& across, double& down) const {
        place(sample.position, size, across, down);
    }
    /// The panel coordinates of `face`'s corners in `points`; true when the face is seen
    /// edge-on (its outline encloses no area) and so shows as a line.
    bool placeFace(const SceneryFace& face, double size, std::vector<std::array<double, 2>>& points) const;
    /// Whether the view shows faces of `kind`: ceilings only from the side, since from above
    /// they would hide the floors.
    bool shows(SceneryFace::Kind kind) const { return m_view == 0 || kind != SceneryFace::Kind::Ceiling; }
    /// True when a step from `a` to `b` is a jump (a wrap-around) rather than a movement: it
    /// crosses more than half of the shown area.
    bool isJump(const BodySample& a, const BodySample& b) const;
    /// Whether `body` was left out of the bounds, being far from the rest.
    bool isFar(std::size_t body) const { return body < m_far.size() && m_far[body]; }
    /// The lowest coordinate shown along the view's axis 0 (across) or 1 (up or down), and the
    /// length both axes show.
    double low(int axis) const { return m_low[axis]; }
    double extent() const { return m_extent; }

private:
    int m_view;
    double m_low[2];
    double m_extent;
    std::vector<bool> m_far;
};

} // namespace zor::host
