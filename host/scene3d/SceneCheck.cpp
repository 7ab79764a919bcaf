#include "host/scene3d/SceneCheck.h"

#include "common/object/Identifiers.h"
#include "host/io/JsonVariableWriter.h"
#include "host/io/NumberText.h"
#include "host/scene3d/Scene3D.h"

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

double number(const nlohmann::ordered_json& variables, const char* name, double otherwise) {
    const auto it = variables.find(name);
    return it != variables.end() && it->is_number() ? it->get<double>() : otherwise;
}

} // namespace

bool SceneCheck::question(const ValuePlace& at, const std::string& expected, const std::string& found) {
    if (m_strict)
        return refuseValue(at, expected + " (--strict refuses what is unusual)", found);
    warnValue(at, expected, found);
    return true;
}

bool SceneCheck::checkRigidBody(IObject& attribute, IObject& reader) {
    // The attribute's values, defaults included, as it writes them itself.
    nlohmann::ordered_json variables = nlohmann::ordered_json::object();
    auto* writer = new JsonVariableWriter(String("the scene's check"));
    writer->setRoot(variables, "");
    const bool written = attribute.write(writer, 0, 0);
    writer->release();
    if (!written)
        return true;
    const double mass = number(variables, "mass", 1);
    const auto infinite = variables.find("infiniteMass");
    if (mass < 0 && !(infinite != variables.end() && infinite->is_boolean() && infinite->get<bool>()) &&
        !question(placeOfVariable(reader, "mass"), "a mass of 0 or more, or infiniteMass", numberText(mass)))
        return false;
    for (const char* friction : {"frictionCoefficient", "additionalFriction"}) {
        const double value = number(variables, friction, 0);
        if (value < 0 &&
            !question(placeOfVariable(reader, friction), "a friction of 0 or more", numberText(value)))
            return false;
    }
    const double restitution = number(variables, "restitutionFactor", 0);
    if ((restitution < 0 || restitution > 1) &&
        !question(placeOfVariable(reader, "restitutionFactor"), "a restitution from 0 to 1",
                  numberText(restitution)))
        return false;
    const auto speed = variables.find("linearSpeed");
    if (speed != variables.end() && speed->is_object())
        m_speeds.push_back(
            {placeOfVariable(reader, "linearSpeed"),
             std::hypot(number(*speed, "x", 0), number(*speed, "y", 0), number(*speed, "z", 0))});
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
