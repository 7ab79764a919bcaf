#include "host/simulate/BodyProbe.h"

#include "common/object/Identifiers.h"
// The module's attribute, for the layout of its members: its accessors are read in place.
#include "physics/attributes/RigidBody3DAttribute.h"

namespace zor::host {

namespace {

template <typename U>
void readAttribute(IObject* object, BodyReading& reading) {
    const auto& attribute = *static_cast<const RigidBody3DAttribute<U>*>(object);
    const Vector3<U>& speed = attribute.getLinearSpeed();
    reading.sample.linearSpeed[0] = speed.x;
    reading.sample.linearSpeed[1] = speed.y;
    reading.sample.linearSpeed[2] = speed.z;
    const U mass = attribute.getMass();
    reading.mass = attribute.getInfiniteMass() ? 0.0 : mass == 0 ? 1.0 : static_cast<double>(mass);
}

} // namespace

template <typename T>
bool readBody(Element3D<T>& element, BodyReading& reading) {
    const TransformRecord<T>& transform = element.transform();
    reading.sample = {{transform.position.x, transform.position.y, transform.position.z},
                      {transform.rotation.x, transform.rotation.y, transform.rotation.z},
                      {0, 0, 0}};
    reading.mass = 0;
    IObject* attribute = element.getPhysicsAttribute(1);
    if (attribute == nullptr || !attribute->isTypeOf(guids::kRigidBody3DAttribute))
        return false;
    // Both number types share the identifier; the attribute's template type tells them apart.
    if (attribute->getTemplateType() == 10)
        readAttribute<float>(attribute, reading);
    else
        readAttribute<double>(attribute, reading);
    return true;
}

template bool readBody(Element3D<float>&, BodyReading&);
template bool readBody(Element3D<double>&, BodyReading&);

} // namespace zor::host
