#include "FuzzChecks.h"

#include "host/scene3d/GridStage.h"
#include "physics/attributes/RigidBody3DAttribute.h"
#include "physics/engine3d/PhysicsEngine3D.h"
#include "physics/engine3d/collision/SceneCollisions.h"
#include "support/EngineOnScene.h"

#include <limits>
#include <vector>

namespace zor::test {
namespace {

constexpr int kMostBodies = 24;
constexpr uint32 kMostCells = 8;

/// The input bytes in order; past the end every read gives zero.
class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    bool atEnd() const { return m_next >= m_size; }
    uint8 byte() { return m_next < m_size ? m_data[m_next++] : 0; }
    /// Mostly a coordinate on a 0.05 grid in [-5, 5), so that bodies touch exactly and overlap
    /// deeply; else one of the values that break arithmetic.
    double number() {
        const uint8 b = byte();
        if (b < 200)
            return (b - 100) / 20.0;
        using Limits = std::numeric_limits<double>;
        // clang-format off
        static const double odd[] = {0, -0.0, 0.001, 0.0005, 1e-30, Limits::denorm_min(), 1e30, -1e30, 1e300,
                                     Limits::max(), Limits::lowest(), Limits::infinity(), -Limits::infinity(),
                                     Limits::quiet_NaN(), 100, -100};
        // clang-format on
        return odd[(b - 200) % (sizeof odd / sizeof odd[0])];
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_next = 0;
};

/// A rigid body from the next bytes: masses of every kind, materials, the restitution combine
/// modes (and one beyond them), locks, loops and limits.
template <typename T>
RigidBody3DAttribute<T>* readBody(Bytes& in) {
    auto* body = new RigidBody3DAttribute<T>();
    const uint8 flags = in.byte();
    body->setInfiniteMass((flags & 1) != 0);
    body->setMass(T(flags & 2 ? 0 : in.number()));
    body->setImmovable((flags & 4) != 0);
    body->setExclusionGroup((flags >> 3) & 3);
    body->setXLock((flags & 0x20) != 0);
    body->setHLoop((flags & 0x40) != 0);
    body->setVLoop((flags & 0x40) != 0);
    body->setRestitutionFactor(T(in.number()));
    body->setRestitutionCombine(in.byte() % 5);
    body->setFrictionCoefficient(T(in.number()));
    if (flags & 0x80) {
        body->setAdditionalFriction(T(in.number()));
        body->setMaxLinearSpeed(T(in.number()));
    }
    return body;
}

template <typename T>
Vector3<T> readVector(Bytes& in) {
    const T x = T(in.number()), y = T(in.number()), z = T(in.number());
    return {x, y, z};
}

/// A grid stage of up to 8 by 8 cells naming up to four tiles with floors that may move (lifts),
/// ceilings and wall segments, their faces sharing one rigid body.
template <typename T>
GridStage<T>* readGridStage(Bytes& in) {
    const uint32 columns = 1 + in.byte() % kMostCells, rows = 1 + in.byte() % kMostCells;
    auto* stage = new GridStage<T>(columns, rows, T(in.number()), T(in.number()));
    RigidBody3DAttribute<T>* faces = readBody<T>(in);
    const uint32 body = stage->rigidBodyAttributes().add(faces);
    faces->release();
    const int tiles = 1 + in.byte() % 4;
    for (int t = 0; t < tiles; ++t) {
        GridTile<T> tile{};
        const uint8 flags = in.byte();
        tile.floorPresent = flags & 1;
        tile.floorHeight = T(in.number());
        tile.floorSpeed = T(flags & 2 ? in.number() : 0);
        tile.ceilingPresent = (flags >> 2) & 1;
        tile.ceilingHeight = T(in.number());
        tile.ceilingSpeed = T(flags & 8 ? in.number() : 0);
        tile.floorCollision = tile.ceilingCollision = kNoGridAttribute;
        // The faces' body, or none now and then (such a face gives no response).
        tile.floorRigidBody = tile.ceilingRigidBody = flags & 0x10 ? kNoGridAttribute : body;
        const uint8 sides = in.byte();
        const T lower = T(in.number()), upper = T(in.number());
        for (uint32 s = 0; s < 4; ++s) {
            GridTileSide<T>& side = tile.sides[s];
            side.sidePresent = (sides >> s) & 1;
            side.middlePresent = (sides >> 4) & 1;
            side.lowerPresent = (sides >> 5) & 1;
            side.upperPresent = (sides >> 6) & 1;
            side.lowerHeight = lower;
            side.upperHeight = upper;
            side.middleCollision = side.lowerCollision = side.upperCollision = kNoGridAttribute;
            side.middleRigidBody = side.lowerRigidBody = side.upperRigidBody = body;
        }
        stage->tiles().pushBack(tile);
    }
    // Values beyond the tiles are ignored by the engine; some cells have them.
    for (uint32& cell : stage->cells())
        cell = in.byte() % (tiles + 2);
    return stage;
}

/// An element of the next bytes' shape with a collision attribute and, unless static, a body.
template <typename T>
Element3D<T>* readElement(Bytes& in, EngineScene<T>& world) {
    const uint8 kind = in.byte();
    const ElementKind shape = kind % 3 == 0   ? ElementKind::Sphere
                              : kind % 3 == 1 ? ElementKind::Capsule
                                              : ElementKind::Mesh;
    const Vector3<T> position = readVector<T>(in);
    const bool turned = (kind & 4) != 0;
    const Vector3<T> rotation = turned ? readVector<T>(in) : Vector3<T>{};
    const T radius = T(in.number()), height = T(in.number());
    RigidBody3DAttribute<T>* body = nullptr;
    if ((kind & 8) == 0) {
        body = readBody<T>(in);
        body->setLinearSpeed(readVector<T>(in));
        if (kind & 0x10)
            body->setAngularSpeed(readVector<T>(in));
    }
    Element3D<T>* element = world.add(shape, position, radius, height, body);
    if (turned)
        element->transform().rotation = rotation;
    if (shape == ElementKind::Mesh) {
        for (const Vector3<T>& v : {Vector3<T>{-1, 0, -1}, {-1, 0, 1}, {1, 0, 1}, {1, 0, -1}, {0, radius, 0}})
            element->mesh()->vertices().pushBack(v);
        for (uint32 index : {0u, 1u, 2u, 0u, 2u, 3u, 0u, 1u, 4u})
            element->mesh()->triangles().pushBack(index);
    }
    return element;
}

/// Builds the scene the bytes describe and steps it; every element's position, rotation and
/// speeds as bytes after the steps.
template <typename T>
std::vector<unsigned char> runScene(Bytes in, bool everyPair) {
    EngineScene<T> world;
    setPairFinder(*world.engine, everyPair ? PairFinder::AllPairs : PairFinder::Grid);
    const uint8 header = in.byte();
    const int steps = 1 + (header >> 1) % 4;
    static const double lengths[] = {1.0 / 60, 1.0 / 30, 0.25, 10};
    const double deltaT = lengths[(header >> 3) % 4];
    world.scene->setGravity(header & 0x20 ? 9.81 : 0);
    GridStage<T>* stage = header & 0x40 ? readGridStage<T>(in) : nullptr;
    if (stage != nullptr)
        world.add(stage);
    std::vector<Element3D<T>*> elements;
    while (!in.atEnd() && elements.size() < kMostBodies)
        elements.push_back(readElement<T>(in, world));
    for (int step = 0; step < steps; ++step) {
        world.step(deltaT);
        if (stage != nullptr)
            stage->moveFaces(T(deltaT));
    }
    std::vector<unsigned char> state;
    const auto keep = [&state](const Vector3<T>& v) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(&v);
        state.insert(state.end(), bytes, bytes + sizeof v);
    };
    for (Element3D<T>* element : elements) {
        keep(element->transform().position);
        keep(element->transform().rotation);
        if (auto* body = static_cast<RigidBody3DAttribute<T>*>(element->getPhysicsAttribute(1))) {
            keep(body->getLinearSpeed());
            keep(body->getAngularSpeed());
        }
    }
    return state;
}

} // namespace

bool checkCollisionStageInput(const std::uint8_t* data, std::size_t size) {
    static HostRecord* host = new HostRecord();
    const Bytes in(data, size);
    const bool inDouble = size > 0 && (data[0] & 1) != 0;
    const bool same = inDouble ? runScene<double>(in, false) == runScene<double>(in, true)
                               : runScene<float>(in, false) == runScene<float>(in, true);
    // Refusals and warnings are not kept from one input to the next.
    host->record.clearCaptured();
    return same;
}

} // namespace zor::test
