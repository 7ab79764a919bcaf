#pragma once

#include "host/scene3d/Element3D.h"
#include "host/simulate/Trajectory.h"

namespace zor::host {

/// Where a rigid body's attribute keeps its linear speed: a Vector3 of float when `single`, else
/// of double.
struct SpeedPlace {
    const void* speed = nullptr;
    bool single = false;
};

/// A rigid body as the records see it after a step.
struct BodyReading {
    BodySample sample;
    /// The mass the collisions use (0 taken as 1); 0 for a body of infinite mass.
    double mass;
    SpeedPlace speed;
};

/// Reads a rigid body's position and rotation from its element's transform record and its
/// speed and mass from its rigid-body attribute, in place: no writer is asked, so values that
/// no file could hold (infinities, NaN) are read as they are. False when the element carries
/// no rigid-body attribute of the module.
template <typename T>
bool readBody(Element3D<T>& element, BodyReading& reading);

/// Reads a body that readBody read again: its element's transform record, and its speed where
/// readBody found it (`speed`), which stays there while the body keeps its attribute (a run
/// changes none). No virtual call: a pile of 100,000 bodies is read after every step.
template <typename T>
void readAgain(const Element3D<T>& element, const SpeedPlace& speed, BodySample& sample);

/// Reads what a rigid body is for the replay page: its element's shape (scaled as the engine
/// scales it) and its attribute's mass, restitution, friction and wrap-around flags.
template <typename T>
void readShape(Element3D<T>& element, BodyShape& shape);

} // namespace zor::host
