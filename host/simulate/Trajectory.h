#pragma once

// numberText: the shortest text that reads back to the same double.
#include "host/io/NumberText.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zor::host {

/// One body's state after one step: where it is in the scene (a body nested in other elements
/// is placed through theirs) and its attribute's linear speed.
struct BodySample {
    double position[3];
    double rotation[3];
    double linearSpeed[3];
};

/// A face of the scene's fixed parts, for the pictures: a grid stage's floor, ceiling or wall
/// segment, or a mesh triangle, with its corners in world coordinates.
struct SceneryFace {
    enum class Kind { Floor = 0, Ceiling = 1, Wall = 2, Mesh = 3 };
    Kind kind;
    std::vector<std::array<double, 3>> corners;
    /// The unit normal of the side that collides; zero for mesh triangles, which face where
    /// their corners' order says.
    std::array<double, 3> facing{};
};

/// What a rigid body is, for the replay page: its shape in its own frame (scaled as the engine
/// scales it, turned by the body's rotation) and its attribute's main values.
struct BodyShape {
    enum class Kind { None, Sphere, Capsule, Mesh };
    Kind kind = Kind::None;
    double radius = 0;
    /// Capsules: the distance between the centres of the two end caps, along the body's y axis.
    double height = 0;
    /// Meshes: the corners of the triangles, three by three.
    std::vector<std::array<double, 3>> corners;
    /// The mass (0 taken as 1 as the collisions take it), or infinite.
    double mass = 1;
    bool infiniteMass = false;
    /// The engine leaves the body where it is.
    bool immovable = false;
    double restitution = 0;
    double friction = 0;
    /// The body wraps around the camera's view (hLoop or vLoop).
    bool wraps = false;

    /// A mesh that nothing moves: the pictures draw it as scenery, not as a body.
    bool isScenery() const { return kind == Kind::Mesh && (infiniteMass || immovable); }
};

/// The contacts a frame of the pictures keeps at most.
inline constexpr std::size_t kMostContactsPerFrame = 256;

/// A contact the engine reported during a step: its two parties, the unit normal from the first
/// towards the second, the overlap, and the point the host places it at between the two shapes.
template <typename Party>
struct Contact {
    Party first;
    Party second;
    std::array<double, 3> normal;
    double depth;
    std::array<double, 3> point;
};

/// A contact with its parties by name (a grid stage's face is named after its stage, kind and
/// cell), as the pictures show it.
using ContactRecord = Contact<std::string>;
/// A contact as a run records it: the parties by their number in the run's names (the rigid
/// bodies first, in the run's order, then the other parties as they are met).
using ContactEntry = Contact<std::uint32_t>;

/// The frames of a run that its pictures show: the bodies by name, and for each kept frame its
/// step, its time and every body's state, in the bodies' order. A long run is thinned as it
/// goes: when `mostFrames` frames are held, every other one is dropped and from then on only
/// every other offered frame is kept, so memory stays bounded whatever the number of steps.
struct Trajectory {
    std::vector<std::string> bodies;
    std::vector<std::uint64_t> steps;
    std::vector<double> times;
    /// samples[frame * bodies.size() + body].
    std::vector<BodySample> samples;
    /// Per body, in the order of `bodies` (may be empty: the page then shows points).
    std::vector<BodyShape> shapes;
    /// Per kept frame, the contacts of its step (empty when none were recorded).
    std::vector<std::vector<ContactRecord>> contacts;
    /// The camera's view volume (near rectangle, then far), when a body wraps around it.
    std::vector<std::array<double, 3>> viewVolume;
    /// The length of one step.
    double deltaT = 0;
    /// The scene computed in float: its numbers are written as the shortest text of the float.
    bool singlePrecision = false;
    /// The grid stages' faces and the mesh triangles as the run left them.
    std::vector<SceneryFace> scenery;
    /// At most this many frames are kept (one more when the last frame is added at the end).
    std::size_t mostFrames = 1000;
    /// Only every `stride`-th offered frame is kept; it doubles at each thinning.
    std::uint64_t stride = 1;
    /// Frames offered so far.
    std::uint64_t offered = 0;
    /// Said by the pictures under their title, when not empty (a run stopped early, ...).
    std::string note;

    /// Offers a frame, with the contacts of its step; kept when it falls on the stride.
    void offer(std::uint64_t step, double time, const std::vector<BodySample>& state,
               const std::vector<ContactRecord>* stepContacts = nullptr);
    /// Keeps the frame whatever the stride (the last frame of a run).
    void keep(std::uint64_t step, double time, const std::vector<BodySample>& state,
              const std::vector<ContactRecord>* stepContacts = nullptr);
    /// True when frames were dropped.
    bool thinned() const { return stride > 1; }

    /// A number of the run as text.
    std::string text(double value) const {
        return singlePrecision ? numberText(static_cast<float>(value)) : numberText(value);
    }

    std::size_t stepCount() const { return times.size(); }
    const BodySample& at(std::size_t frame, std::size_t body) const {
        return samples[frame * bodies.size() + body];
    }
};

/// The CSV header of the trajectories: step, time, element, position, rotation, linear speed.
std::string trajectoryCsvHeader();

/// Appends to `rows` the CSV rows of one step, one per body (`bodies`: their names as csvText
/// gives them), numbers written so that reading them gives the same value (in float for a float
/// run).
void appendTrajectoryCsvRows(std::string& rows, std::uint64_t step, double time,
                             std::span<const std::string> bodies, std::span<const BodySample> state,
                             bool singlePrecision);

/// An SVG picture with the side view (x across, y up) and the top view (x across, z down) of
/// the scenery (ceilings in the side view only, static meshes with it), every other body's path
/// over it, one path element per body, and each body's final position.
std::string trajectorySvg(const Trajectory& trajectory, const std::string& title);

/// The CSV header of the contacts: step, time, the two elements, normal, depth and point.
std::string contactCsvHeader();

/// Appends to `rows` the CSV rows of one step's contacts, their parties named by `names` (as
/// csvText gives them).
void appendContactCsvRows(std::string& rows, std::uint64_t step, double time,
                          std::span<const ContactEntry> contacts, std::span<const std::string> names,
                          bool singlePrecision);

/// The replay page (see docs/replay-page.md): the run in 3D and in two projections, one file.
std::string replayPage(const Trajectory& trajectory, const std::string& title);

/// The run as the replay page reads it: one JSON object.
std::string replayData(const Trajectory& trajectory, const std::string& title);

} // namespace zor::host
