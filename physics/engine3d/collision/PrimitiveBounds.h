#pragma once

#include "common/containers/Array.h"
#include "physics/engine3d/broadphase/PairGrid.h"
#include "physics/engine3d/collision/CollisionSettings.h"
#include "physics/engine3d/collision/PrimitiveRecord.h"
#include "physics/math/Vector3Math.h"

#include <algorithm>
#include <limits>

namespace zor {

/// The bounds of a collision stage's primitives as they move: per primitive the box around its
/// axis or vertices, that box widened by its reach (docs/engine3d.md, "Widened box") and, for a
/// sphere, its ball. They tell which pairs a detector that declared its reach may find in
/// contact.
template <typename T>
class PrimitiveBounds {
public:
    PrimitiveBounds() {
        m_boxes.setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo);
        m_widened.setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo);
        m_balls.setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo);
        m_active.setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo);
    }

    /// Works out the bounds of every record; boxes are widened by `reach`, how far beyond
    /// touching the detector reports contacts.
    void build(const Array<PhysicsCollisionPrimitive3D<T>>& records, double reach) {
        begin(records.size(), reach);
        for (uint64 i = 0; i < records.size(); ++i)
            buildOne(records[i], i);
    }
    /// build in steps, so that each record's bounds are worked out while it is at hand: begin for
    /// `count` records, then buildOne for each.
    void begin(uint64 count, double reach) {
        m_reach = reach;
        m_boxes.resize(count);
        m_widened.resize(count);
        m_balls.resize(count);
        m_active.resize(count);
    }
    void buildOne(const PhysicsCollisionPrimitive3D<T>& record, uint64 index) {
        m_active[index] = record.active;
        // A sphere with a ball is followed by the ball alone: its boxes are not written (a sixth
        // of a stage's writes in a pile), and nothing reads them (FatBoxes::holds).
        if (record.shape == CollisionShapeSphere && placeSphere(record, index).radius >= 0)
            return;
        m_boxes[index] = boxAround(record);
        place(record, index);
    }

    /// True when the shapes of two active primitives may touch: their widened boxes overlap; two
    /// spheres, when their balls do.
    bool mayTouch(uint64 first, uint64 second) const {
        const WidenedBall& a = m_balls[first];
        const WidenedBall& b = m_balls[second];
        if (a.radius >= 0 && b.radius >= 0)
            return ballsOverlap(a, b);
        return overlaps(widenedBox(first), widenedBox(second));
    }

    /// Sphere `index` has moved to `primitive.pointA`: its ball follows, with the radius it had.
    WidenedBall& moveBall(const PhysicsCollisionPrimitive3D<T>& primitive, uint64 index) {
        WidenedBall& ball = m_balls[index];
        ball.centre[0] = double(primitive.pointA.x);
        ball.centre[1] = double(primitive.pointA.y);
        ball.centre[2] = double(primitive.pointA.z);
        return ball;
    }
    /// The ball of sphere `index`, standing at `primitive.pointA`, with its radius worked out.
    const WidenedBall& placeSphere(const PhysicsCollisionPrimitive3D<T>& primitive, uint64 index) {
        const double centre[3] = {double(primitive.pointA.x), double(primitive.pointA.y),
                                  double(primitive.pointA.z)};
        const double magnitude = largestSize(centre, centre);
        return m_balls[index] = {{centre[0], centre[1], centre[2]}, widened(primitive.radius, magnitude)};
    }
    /// Primitive `index`, not a sphere, has moved by `displacement`: its widened box and ball
    /// worked out again.
    const WidenedBox& moveBox(const PhysicsCollisionPrimitive3D<T>& primitive, uint64 index,
                              const Vector3<T>& displacement) {
        Box& box = m_boxes[index];
        box.min = v3::plus(box.min, displacement);
        box.max = v3::plus(box.max, displacement);
        return place(primitive, index);
    }

    const WidenedBox* widenedBoxes() const { return m_widened.data(); }
    const WidenedBall* balls() const { return m_balls.data(); }
    const uint8* active() const { return m_active.data(); }

private:
    /// The box around a primitive's axis or vertices, before its radius.
    struct Box {
        Vector3<T> min;
        Vector3<T> max;
    };
    static Box boxAround(const PhysicsCollisionPrimitive3D<T>& primitive) {
        Box box{primitive.pointA, primitive.pointA};
        const auto include = [&box](const Vector3<T>& point) {
            box.min = {std::min(box.min.x, point.x), std::min(box.min.y, point.y),
                       std::min(box.min.z, point.z)};
            box.max = {std::max(box.max.x, point.x), std::max(box.max.y, point.y),
                       std::max(box.max.z, point.z)};
        };
        include(primitive.pointB);
        if (primitive.vertices != nullptr && primitive.vertices->size() != 0) {
            box = {(*primitive.vertices)[0], (*primitive.vertices)[0]};
            for (const Vector3<T>& vertex : *primitive.vertices)
                include(vertex);
        }
        return box;
    }
    /// The widened box of primitive `index`. A sphere's is its ball's, the only one kept up to
    /// date as it moves (a ball of any other shape has a negative radius).
    WidenedBox widenedBox(uint64 index) const {
        const WidenedBall& ball = m_balls[index];
        if (ball.radius < 0)
            return m_widened[index];
        const double* centre = ball.centre;
        const double widen = ball.radius;
        return {{centre[0] - widen, centre[1] - widen, centre[2] - widen},
                {centre[0] + widen, centre[1] + widen, centre[2] + widen}};
    }
    /// The radius of a primitive widened by the detector's reach and a little more for its
    /// rounding, and more again far out, where the rounding grows with `magnitude`, the largest
    /// coordinate of its box in size: boxes widened so can be apart only when the shapes are.
    double widened(T radius, double magnitude) const {
        if (magnitude > settings::kLargestBoundedMagnitude)
            return std::numeric_limits<double>::infinity();
        return double(radius) * (1 + settings::kRadiusAllowance) + settings::kRadiusFloor +
               magnitude * settings::kMagnitudeAllowance + m_reach;
    }
    /// The largest coordinate in size of the box from `low` to `high`.
    static double largestSize(const double (&low)[3], const double (&high)[3]) {
        return v3::larger(v3::larger(v3::larger(-low[0], high[0]), v3::larger(-low[1], high[1])),
                          v3::larger(-low[2], high[2]));
    }
    /// True unless the balls are apart; balls with a NaN overlap everything.
    static bool ballsOverlap(const WidenedBall& a, const WidenedBall& b) {
        const double x = a.centre[0] - b.centre[0], y = a.centre[1] - b.centre[1],
                     z = a.centre[2] - b.centre[2];
        const double reach = a.radius + b.radius;
        return !(x * x + y * y + z * z > reach * reach);
    }
    /// Works out the widened box of primitive `index` and its ball (a radius of -1 for shapes
    /// other than spheres); returns the box.
    const WidenedBox& place(const PhysicsCollisionPrimitive3D<T>& primitive, uint64 index) {
        const Box& box = m_boxes[index];
        const double low[3] = {double(box.min.x), double(box.min.y), double(box.min.z)};
        const double high[3] = {double(box.max.x), double(box.max.y), double(box.max.z)};
        const double widen = widened(primitive.radius, largestSize(low, high));
        m_balls[index] = primitive.shape == CollisionShapeSphere
                             ? WidenedBall{{low[0], low[1], low[2]}, widen}
                             : WidenedBall{{0, 0, 0}, -1};
        return m_widened[index] = {{low[0] - widen, low[1] - widen, low[2] - widen},
                                   {high[0] + widen, high[1] + widen, high[2] + widen}};
    }

    /// One box and one widened box per primitive, moved with it; none for a sphere whose ball
    /// has a radius (its ball follows it).
    Array<Box> m_boxes;
    Array<WidenedBox> m_widened;
    Array<WidenedBall> m_balls;
    Array<uint8> m_active;
    /// How far beyond touching the detector reports contacts.
    double m_reach = 0;
};

} // namespace zor
