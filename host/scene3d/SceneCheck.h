#pragma once

#include "common/object/IObject.h"
#include "host/io/VariablePlace.h"

#include <vector>

namespace zor {
template <typename T>
class RigidBody3DAttribute;
}

namespace zor::host {

/// The checks of a 3D scene file's objects as they are read (an ObjectCheck, see
/// ObjectDocument.h), beyond those of the objects' own reads: a grid stage's faces name
/// attributes the stage has; a rigid body's values that the module takes but that are unusual
/// (a negative mass without infiniteMass, a negative friction, a restitution outside [0, 1], a
/// speed that crosses the camera's view within one step of the default length) get a warning
/// line each, or refuse the scene when the check is strict.
class SceneCheck {
public:
    explicit SceneCheck(bool strict) : m_strict(strict) {}

    /// Checks `object`, read through `reader`; false after the refusal's log line.
    bool operator()(IObject& object, IObject& reader);

private:
    struct Speed {
        ValuePlace at;
        double speed;
    };

    // A warning, or with strict checks a refusal.
    bool question(const ValuePlace& at, const std::string& expected, const std::string& found);
    bool checkRigidBody(IObject& attribute, IObject& reader);
    template <typename T>
    bool checkValues(const RigidBody3DAttribute<T>& attribute, IObject& reader);
    // The speeds met so far against the view of the scene, which is read last.
    bool checkSpeeds(double viewExtent);

    bool m_strict;
    std::vector<Speed> m_speeds;
};

} // namespace zor::host
