#include "host/scene3d/SceneCheck.h"

#include "common/object/Identifiers.h"
#include "host/io/NumberText.h"
#include "host/scene3d/Scene3D.h"
// The module's attribute, for the layout of its members: its accessors are read in place.
#include "physics/attributes/RigidBody3DAttribute.h"

#include <algorithm>
#include <cmath>

namespace zor::host {
namespace {

// The step length simulate takes when it is not told one.
constexpr double kDefaultStep = 0.02;

// The widest extent the camera shows around its target.
template <typename T>
double viewExtent(const Camera<T>& camera) {
    if (camera.projection == Projection::Orthographic)
        return std::max<double>(camera.width, camera.height);
    const double distance =
        std::hypot(double(camera.eye.x - camera.target.x), double(camera.eye.y - camera.target.y),
                   double(camera.eye.z - camera.target.z));
    return 2 * distance * std::tan(double(camera.fieldOfViewY) / 2) * std::max<double>(1, camera.aspect);
}

template <typename T>
bool checkStageFaces(const GridStage<T>& stage, IObject& reader) {
    std::string error;
    return stage.checkAttributeIndices(error) ||
           refuseValue(placeOfVariable(reader, nullptr), "faces that name attributes of the stage", error);
}

} // namespace

bool SceneCheck::question(const ValuePlace& at, const std::string& expected, const std::string& found) {
    if (m_strict)
        return refuseValue(at, expected + " (--strict refuses what is unusual)", found);
    warnValue(at, expected, found);
    return true;
}

bool SceneCheck::checkRigidBody(IObject& attribute, IObject& reader) {
    return attribute.getTemplateType() == 10
               ? checkValues(static_cast<const RigidBody3DAttribute<float>&>(attribute), reader)
               : checkValues(static_cast<const RigidBody3DAttribute<double>&>(attribute), reader);
}

template <typename T>
bool SceneCheck::checkValues(const RigidBody3DAttribute<T>& attribute, IObject& reader) {
    // Read in place, as a file holds them: a float as the double its text reads back as.
    const auto value = [](T number) {
        if constexpr (std::is_same_v<T, float>)
            return jsonDoubleForFloat(number);
        else
            return number;
    };
    const double mass = value(attribute.getMass());
    if (mass < 0 && !attribute.getInfiniteMass() &&
        !question(placeOfVariable(reader, "mass"), "a mass of 0 or more, or infiniteMass", numberText(mass)))
        return false;
    const double frictions[] = {value(attribute.getFrictionCoefficient()),
                                value(attribute.getAdditionalFriction())};
    const char* const names[] = {"frictionCoefficient", "additionalFriction"};
    for (int i = 0; i < 2; ++i)
        if (frictions[i] < 0 &&
            !question(placeOfVariable(reader, names[i]), "a friction of 0 or more", numberText(frictions[i])))
            return false;
    const double restitution = value(attribute.getRestitutionFactor());
    if ((restitution < 0 || restitution > 1) &&
        !question(placeOfVariable(reader, "restitutionFactor"), "a restitution from 0 to 1",
                  numberText(restitution)))
        return false;
    const Vector3<T>& speed = attribute.getLinearSpeed();
    const double fastest = std::hypot(value(speed.x), value(speed.y), value(speed.z));
    // A body at rest crosses no view, however small.
    if (fastest > 0)
        m_speeds.push_back({placeOfVariable(reader, "linearSpeed"), fastest});
    return true;
}

bool SceneCheck::checkSpeeds(double extent) {
    const double fastest = extent / kDefaultStep;
    for (const Speed& speed : m_speeds)
        if (speed.speed > fastest &&
            !question(speed.at,
                      "a speed below " + numberText(fastest) + " (the camera's view, " + numberText(extent) +
                          " wide, in one step of " + numberText(kDefaultStep) + ")",
                      numberText(speed.speed)))
            return false;
    m_speeds.clear();
    return true;
}

bool SceneCheck::operator()(IObject& object, IObject& reader) {
    if (object.isTypeOf(guids::kRigidBody3DAttribute))
        return checkRigidBody(object, reader);
    const bool isDouble = object.getTemplateType() == 11;
    if (object.isTypeOf(guids::kGridStage))
        return isDouble ? checkStageFaces(static_cast<GridStage<double>&>(object), reader)
                        : checkStageFaces(static_cast<GridStage<float>&>(object), reader);
    if (object.isTypeOf(guids::kScene3D))
        return checkSpeeds(isDouble ? viewExtent(static_cast<Scene3D<double>&>(object).camera())
                                    : viewExtent(static_cast<Scene3D<float>&>(object).camera()));
    return true;
}

} // namespace zor::host
