#include "host/simulate/BodyProbe.h"

#include "common/object/Identifiers.h"
#include "host/io/JsonVariableWriter.h"
// The module's attribute, for the layout of its members: its accessors are read in place.
#include "physics/attributes/RigidBody3DAttribute.h"

#include <algorithm>
#include <cmath>

namespace zor::host {

namespace {

template <typename U>
void readAttribute(IObject* object, BodyReading& reading) {
    const auto& attribute = *static_cast<const RigidBody3DAttribute<U>*>(object);
    const Vector3<U>& speed = attribute.getLinearSpeed();
    reading.sample.linearSpeed[0] = speed.x;
    reading.sample.linearSpeed[1] = speed.y;
    reading.sample.linearSpeed[2] = speed.z;
    reading.speed = {&speed, sizeof(U) == sizeof(float)};
    const U mass = attribute.getMass();
    reading.mass = attribute.getInfiniteMass() ? 0.0 : mass == 0 ? 1.0 : static_cast<double>(mass);
}

template <typename U>
void readValues(IObject* object, BodyShape& shape) {
    const auto& attribute = *static_cast<const RigidBody3DAttribute<U>*>(object);
    shape.infiniteMass = attribute.getInfiniteMass();
    shape.mass = attribute.getMass() == 0 ? 1.0 : static_cast<double>(attribute.getMass());
    shape.restitution = attribute.getRestitutionFactor();
    shape.friction = attribute.getFrictionCoefficient();
}

// Whether the attribute wraps its body around the view and whether it keeps it still, read as
// any host reads an attribute's variables: through its own write (these flags have no accessor
// that the host can reach).
void readFlags(IObject* attribute, BodyShape& shape) {
    auto* writer = new JsonVariableWriter(String("flags"));
    nlohmann::ordered_json variables = nlohmann::ordered_json::object();
    writer->setRoot(variables, "");
    const bool written = attribute->write(writer, 0, 0);
    writer->release();
    const auto set = [&](const char* name) {
        const auto node = variables.find(name);
        return node != variables.end() && node->is_boolean() && node->get<bool>();
    };
    shape.wraps = written && (set("hLoop") || set("vLoop"));
    shape.immovable = written && set("immovable");
}

} // namespace

template <typename T>
void readShape(Element3D<T>& element, BodyShape& shape) {
    IObject* attribute = element.getPhysicsAttribute(1);
    if (attribute != nullptr && attribute->isTypeOf(guids::kRigidBody3DAttribute)) {
        if (attribute->getTemplateType() == 10)
            readValues<float>(attribute, shape);
        else
            readValues<double>(attribute, shape);
        readFlags(attribute, shape);
    }
    const Vector3<T>& scale = element.scale();
    // As the engine measures them: the radius along the element's x axis, the axis along its y.
    const double radius = std::abs(double(element.shape().radius) * double(scale.x));
    if (element.kind() == ElementKind::Sphere) {
        shape.kind = BodyShape::Kind::Sphere;
        shape.radius = radius;
    } else if (element.kind() == ElementKind::Capsule) {
        shape.kind = BodyShape::Kind::Capsule;
        shape.radius = radius;
        shape.height = std::abs(double(element.shape().height) * double(scale.y));
    } else if (element.kind() == ElementKind::Mesh && element.mesh() != nullptr) {
        shape.kind = BodyShape::Kind::Mesh;
        const Array<Vector3<T>>& vertices = element.mesh()->vertices();
        const Array<uint32>& indices = element.mesh()->triangles();
        for (uint64 i = 0; i + 2 < indices.size(); i += 3) {
            if (std::max({indices[i], indices[i + 1], indices[i + 2]}) >= vertices.size())
                continue;
            for (uint64 corner = i; corner < i + 3; ++corner) {
                const Vector3<T>& v = vertices[indices[corner]];
                shape.corners.push_back({double(v.x) * double(scale.x), double(v.y) * double(scale.y),
                                         double(v.z) * double(scale.z)});
            }
        }
    }
}

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

template <typename T>
void readAgain(const Element3D<T>& element, const SpeedPlace& speed, BodySample& sample) {
    const TransformRecord<T>& transform = element.transform();
    const auto read = [&sample](const auto& vector) {
        sample.linearSpeed[0] = vector.x;
        sample.linearSpeed[1] = vector.y;
        sample.linearSpeed[2] = vector.z;
    };
    sample = {{transform.position.x, transform.position.y, transform.position.z},
              {transform.rotation.x, transform.rotation.y, transform.rotation.z},
              {0, 0, 0}};
    if (speed.single)
        read(*static_cast<const Vector3<float>*>(speed.speed));
    else
        read(*static_cast<const Vector3<double>*>(speed.speed));
}

template void readShape(Element3D<float>&, BodyShape&);
template void readShape(Element3D<double>&, BodyShape&);
template bool readBody(Element3D<float>&, BodyReading&);
template bool readBody(Element3D<double>&, BodyReading&);
template void readAgain(const Element3D<float>&, const SpeedPlace&, BodySample&);
template void readAgain(const Element3D<double>&, const SpeedPlace&, BodySample&);

} // namespace zor::host
