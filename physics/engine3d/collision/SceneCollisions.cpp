#include "physics/engine3d/collision/SceneCollisions.h"

#include "common/framework/ICollisionDetector.h"
#include "common/framework/ICollisionReach.h"
#include "common/framework/IGridStage.h"
#include "common/framework/IScene3D.h"
#include "common/log/Log.h"
#include "common/object/Identifiers.h"
#include "common/object/ObjectFactory.h"
#include "physics/attributes/RigidBody3DAttribute.h"
#include "physics/engine3d/CollisionReport.h"
#include "physics/engine3d/PhysicsEngine3D.h"
#include "physics/engine3d/SceneBodies.h"
#include "physics/engine3d/collision/CollisionPrimitive.h"
#include "physics/engine3d/collision/CollisionResponse.h"
#include "physics/engine3d/gridstage/GridStageCollisions.h"
#include "physics/engine3d/gridstage/QuietShapes.h"
#include "physics/math/Vector3Math.h"
#include "physics/module/EngineReserved.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <optional>

namespace zor {
namespace {

constexpr const char* kStageFunction = "zor::PhysicsEngine3D::updateSceneCollisions";
constexpr int kPassLimit = 4;

/// The engine's detector for T, created through the factory on first use.
template <typename T>
ICollisionDetector<T>& detectorOf(PhysicsEngine3D& engine) {
    IObject*& collisionDetector = engine.collisionDetector<T>();
    if (collisionDetector == nullptr) {
        static const String templateTypeName(sizeof(T) == 4 ? "float" : "double");
        collisionDetector = zor_createObjectFromGUIDAndTypeName(guids::kCollisionDetector, templateTypeName);
    }
    zor_assert_in(ZOR_LOG_MODULE, kStageFunction, collisionDetector != NULL);
    return *static_cast<ICollisionDetector<T>*>(collisionDetector);
}

/// How far beyond touching `detector` declares that it reports contacts, or -1 when it declares
/// nothing (or nothing usable).
template <typename T>
double declaredReach(ICollisionDetector<T>& detector) {
    IObject* declared = detector.castTo(guids::kCollisionReach);
    if (declared == nullptr)
        return -1;
    const double reach = static_cast<ICollisionReach*>(declared)->getContactReach();
    return reach >= 0 && std::isfinite(reach) ? reach : -1;
}

/// Per primitive, whether it is out of reach of every tile while inside a fat box, as found for
/// the fat box of a serial at a generation of the grid stages for its radius (the detector's reach
/// is the memory's). A few bytes, read in every pass for every primitive: the fat box itself is
/// read only when the verdict is made.
struct FarFromTiles {
    uint64 fatBox;
    uint64 generation;
    double radius;
    bool far;
};

/// The one of a float and a double member that serves scenes of T.
template <typename T, typename ForFloat, typename ForDouble>
auto& ofNumberType(ForFloat& forFloat, ForDouble& forDouble) {
    if constexpr (sizeof(T) == 4)
        return forFloat;
    else
        return forDouble;
}

/// What a collision stage works in: its broad phase, its primitives and their verdicts.
struct CollisionStageMemory {
    CollisionStageMemory() { farFromTiles.setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo); }

    template <typename T>
    CollisionPrimitives<T>& primitives() {
        return ofNumberType<T>(floatPrimitives, doublePrimitives);
    }
    template <typename T>
    GridStageSet<T>& gridStages() {
        return ofNumberType<T>(floatGridStages, doubleGridStages);
    }
    template <typename T>
    QuietShapes<T>& quietShapes() {
        return ofNumberType<T>(floatQuiet, doubleQuiet);
    }

    BroadPhase broadPhase;
    CollisionPrimitives<float> floatPrimitives{broadPhase};
    CollisionPrimitives<double> doublePrimitives{broadPhase};
    Array<FarFromTiles> farFromTiles;
    /// The reach the verdicts were found for.
    double verdictReach = 0;
    GridStagesSeen gridStagesSeen;
    GridStageSet<float> floatGridStages;
    GridStageSet<double> doubleGridStages;
    QuietShapes<float> floatQuiet;
    QuietShapes<double> doubleQuiet;
};

/// What the collision stage keeps from one call to the next, in the engine's companion.
class CollisionStageState final : public EngineState {
public:
    CollisionStageState() {
        floatBodies.found.setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo);
        doubleBodies.found.setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo);
    }
    ~CollisionStageState() override {
        if (report != nullptr)
            report->release();
    }
    template <typename T>
    ContactTally<T>& contacts() {
        return ofNumberType<T>(seen.floatContacts, seen.doubleContacts);
    }
    template <typename T>
    ContactList<T>& listed() {
        return ofNumberType<T>(seen.floatListed, seen.doubleListed);
    }
    CollisionStageMemory memory;
    KeptBodies<float> floatBodies;
    KeptBodies<double> doubleBodies;
    /// A stage of the engine is running with the memory.
    bool lent = false;
    PairFinder finder = PairFinder::Grid;
    /// What the last stage of each number type saw, and the report on them, made when asked for.
    StagesSeen seen;
    CollisionReport* report = nullptr;
};

/// The engine's collision-stage state, made on first use.
CollisionStageState& stageStateOf(PhysicsEngine3D& engine) {
    PhysicsEngine3DReserved* reserved = engine.getReserved();
    auto* state = static_cast<CollisionStageState*>(reserved->getState());
    if (state == nullptr) {
        state = new CollisionStageState();
        reserved->setState(state);
    }
    return *state;
}

/// The engine's collision-stage memory (its broad phase as the last stage left it) for one stage
/// at a time: a stage that a host callback runs inside another works in memory of its own.
class StageMemoryLease {
public:
    explicit StageMemoryLease(CollisionStageState& state) {
        if (!state.lent) {
            state.lent = true;
            m_state = &state;
        }
    }
    /// The memory is the engine's own: the stage is not one that host code runs inside another.
    bool owned() const { return m_state != nullptr; }
    ~StageMemoryLease() {
        if (m_state != nullptr)
            m_state->lent = false;
    }
    StageMemoryLease(const StageMemoryLease&) = delete;
    StageMemoryLease& operator=(const StageMemoryLease&) = delete;

    CollisionStageMemory& memory() {
        if (m_state != nullptr)
            return m_state->memory;
        if (m_own == nullptr)
            m_own = std::make_unique<CollisionStageMemory>();
        return *m_own;
    }

private:
    CollisionStageState* m_state = nullptr;
    std::unique_ptr<CollisionStageMemory> m_own;
};

template <typename T>
GridStageCollisionCallback<T> gridStageCallbackOf(PhysicsEngine3D& engine) {
    if constexpr (sizeof(T) == 4)
        return engine.getGridStageCollisionCallbackFloat();
    else
        return engine.getGridStageCollisionCallbackDouble();
}

template <typename T>
CollisionCallback<T> pairCallbackOf(PhysicsEngine3D& engine) {
    if constexpr (sizeof(T) == 4)
        return engine.getCollisionCallbackFloat();
    else
        return engine.getCollisionCallbackDouble();
}

/// The detector's test for the two primitives' shapes, the normal pointing from `i` towards
/// `j`; false without contact or for a pair it cannot test (two meshes, a mesh without data).
template <typename T>
bool detect(ICollisionDetector<T>& detector, const PhysicsCollisionPrimitive3D<T>& i,
            const PhysicsCollisionPrimitive3D<T>& j, Vector3<T>& normal, T& depth) {
    // Two spheres, the usual pair, first.
    if (i.shape == CollisionShapeSphere && j.shape == CollisionShapeSphere)
        return detector.testSphereSphere(&i.pointA, &i.radius, &j.pointA, &j.radius, &normal, &depth);
    const bool iMesh = i.shape == CollisionShapeMesh, jMesh = j.shape == CollisionShapeMesh;
    if (iMesh && jMesh)
        return false;
    if (iMesh || jMesh) {
        const PhysicsCollisionPrimitive3D<T>& solid = iMesh ? j : i;
        const PhysicsCollisionPrimitive3D<T>& mesh = iMesh ? i : j;
        if (mesh.meshData == nullptr)
            return false;
        const bool contact = solid.shape == CollisionShapeSphere
                                 ? detector.testSphereMesh(&solid.pointA, &solid.radius, mesh.meshData,
                                                           mesh.vertices, &normal, &depth)
                                 : detector.testCapsuleMesh(&solid.pointA, &solid.pointB, &solid.radius,
                                                            mesh.meshData, mesh.vertices, &normal, &depth);
        if (contact && iMesh)
            normal = v3::times(normal, T(-1));
        return contact;
    }
    // A sphere meets a capsule as a capsule whose two ends are its centre.
    const Vector3<T>& iEnd = i.shape == CollisionShapeSphere ? i.pointA : i.pointB;
    const Vector3<T>& jEnd = j.shape == CollisionShapeSphere ? j.pointA : j.pointB;
    return detector.testCapsuleCapsule(&i.pointA, &iEnd, &i.radius, &j.pointA, &jEnd, &j.radius, &normal,
                                       &depth);
}

/// True when both bodies are in the same non-zero exclusion group.
template <typename Body>
bool excluded(const Body& first, const Body& second) {
    return first.getExclusionGroup() != 0 && first.getExclusionGroup() == second.getExclusionGroup();
}

/// The pairs after primitive i in the stage's defined order: every one.
struct AllPairsFinder {
    template <typename Primitives, typename Visit>
    static void forEachCandidate(Primitives& primitives, uint64 i, Visit&& visit) {
        for (uint64 j = i + 1; j < primitives.size(); ++j)
            visit(j);
    }
};

/// The pairs after primitive i that the broad phase finds may touch, in the same order, each
/// where it stands when its turn comes: those of the defined order that are in contact.
struct GridFinder {
    template <typename Primitives, typename Visit>
    static void forEachCandidate(Primitives& primitives, uint64 i, Visit&& visit) {
        primitives.forEachCandidate(i, visit);
    }
};

/// One collision stage: the primitives, the detector and the callbacks.
template <typename T>
class CollisionPasses {
public:
    CollisionPasses(PhysicsEngine3D& engine, IScene3D& scene, CollisionStageState& state, double reach)
        : m_engine(engine), m_scene(scene), m_generation(sceneGenerationOf(scene)),
          m_detector(detectorOf<T>(engine)), m_pairCallback(pairCallbackOf<T>(engine)),
          m_hasGridStages(scene.getGridStages() != nullptr),
          m_hostCalledBack(m_pairCallback != nullptr ||
                           (m_hasGridStages && gridStageCallbackOf<T>(engine) != nullptr)),
          m_reach(state.finder == PairFinder::Grid ? reach : -1), m_accelerated(m_reach >= 0), m_lease(state),
          m_gridStages(m_lease.memory().template gridStages<T>()),
          m_primitives(m_lease.memory().template primitives<T>()),
          m_farFromTiles(m_lease.memory().farFromTiles),
          m_quietShapes(m_lease.memory().template quietShapes<T>()) {
        // A stage that host code runs inside another lists nothing: the list is the outer one's.
        if (m_lease.owned()) {
            ContactList<T>& listed = state.template listed<T>();
            // A kept list may be read on another thread until the next listed stage.
            if (state.seen.listing || !state.seen.listKept)
                listed.clear();
            // Room for as many contacts as the last stage had and half as many more, made only when
            // the room is short (room that is not touched costs no memory): a list made again
            // copies into new memory beside the old, and a pile's count creeps up step by step.
            const uint64 last = state.template contacts<T>().count;
            if (state.seen.listing) {
                if (listed.capacity() < last)
                    listed.reserve(last + last / 2);
                m_listed = &listed;
            }
        }
        m_gridStages.beginStage(scene.getGridStages(), m_detector, gridStageCallbackOf<T>(engine),
                                m_accelerated, m_accelerated ? m_reach : 0, m_listed);
        m_primitives.build(scene, m_accelerated ? m_reach : 0, m_accelerated && !m_hostCalledBack,
                           m_generation);
        m_quietShapes.beginStage(m_primitives.size());
        // Without host code in the passes the responses may work on copies of the bodies' states,
        // unless a face's speed is a body's.
        if (m_accelerated && !m_hostCalledBack && m_primitives.copyBodies() && m_hasGridStages &&
            m_gridStages.holdsCopiedBody(m_primitives))
            m_primitives.writeBodies();
        // Verdicts are kept from stage to stage: they hold while the grid stages and the reach
        // are the same.
        double& verdictReach = m_lease.memory().verdictReach;
        uint64 verdicts = m_farFromTiles.size();
        if (std::memcmp(&verdictReach, &m_reach, sizeof m_reach) != 0) {
            verdictReach = m_reach;
            verdicts = 0;
        }
        m_farFromTiles.resize(m_primitives.size());
        for (uint64 i = verdicts; i < m_farFromTiles.size(); ++i)
            m_farFromTiles[i].generation = 0;
    }

    /// The primitives are kept for the next stage; the bodies they hold are released now. While
    /// the scene keeps the generation they were read at, the next stage may take them as read.
    ~CollisionPasses() {
        const std::optional<uint64> generation = sceneGenerationOf(m_scene);
        const bool same = generation == m_generation && m_engine.getCurrentScene(false) == &m_scene;
        m_primitives.finish(same ? generation : std::nullopt);
    }
    CollisionPasses(const CollisionPasses&) = delete;
    CollisionPasses& operator=(const CollisionPasses&) = delete;

    /// Up to four passes; true when every one of them found a contact.
    bool run() {
        bool pending = m_accelerated ? runPasses<GridFinder>() : runPasses<AllPairsFinder>();
        m_primitives.writeBodies();
        return pending;
    }

    /// The contacts the detector reported, pairs and faces.
    const ContactTally<T>& contacts() const { return m_contacts; }

private:
    template <typename Finder>
    bool runPasses() {
        bool pending = false;
        for (int pass = 0; pass < kPassLimit; ++pass) {
            pending = m_primitives.size() != 0 && runPass<Finder>();
            if (!pending)
                break;
        }
        return pending;
    }

    /// One pass over the primitives in order; true when a contact counted.
    template <typename Finder>
    bool runPass() {
        bool collided = false;
        for (uint64 i = 0; i < m_primitives.size(); ++i) {
            if (!m_primitives[i].active)
                continue;
            if (m_primitives[i].shape != CollisionShapeMesh && m_hasGridStages)
                collided |= collideWithGridStages(i);
            Finder::forEachCandidate(m_primitives, i, [&](uint64 j) { collided |= collidePair(i, j); });
        }
        return collided;
    }

    /// The sphere or capsule against every grid stage of the scene; true when a face responded.
    bool collideWithGridStages(uint64 index) {
        PhysicsCollisionPrimitive3D<T>& primitive = m_primitives[index];
        if (!m_gridStagesBegun) {
            m_gridStages.begin(m_lease.memory().gridStagesSeen, m_primitives.size());
            m_gridStagesBegun = true;
        }
        CapsuleShape<T> shape{primitive.pointA, primitive.pointB, primitive.radius};
        const uint64 generation = m_gridStages.generation();
        if (m_accelerated) {
            // Most primitives are far from every tile: known so while they keep their fat box. A
            // quiet shape of one reported nothing, so the verdict goes first: it is smaller.
            FarFromTiles& verdict = m_farFromTiles[index];
            const uint64 fatBox = m_primitives.fatBoxSerial(index);
            const double radius = double(primitive.radius);
            if (verdict.generation != generation || verdict.fatBox != fatBox ||
                std::memcmp(&verdict.radius, &radius, sizeof radius) != 0)
                verdict = {fatBox, generation, radius,
                           m_gridStages.outOfReach(m_primitives.fatBox(index), primitive.radius)};
            if (verdict.far) {
                m_gridStages.assertListed(kStageFunction);
                return false;
            }
            // A test that moved nothing moves nothing when made again the same way.
            if (const ContactTally<T>* reported = m_quietShapes.quiet(index, shape, generation)) {
                m_contacts.add(*reported);
                m_gridStages.assertListed(kStageFunction);
                return false;
            }
        }
        bool responded = false;
        const uint64 stages = m_gridStages.count();
        BodyState<T>* state = m_primitives.stateOf(index);
        for (uint64 stage = 0; stage < stages; ++stage) {
            // Where the body stands before each stage: a callback may have moved it.
            const Vector3<T>& position = positionOf(primitive, state);
            const Vector3<T> before = position;
            if (m_gridStages.collide(stage, primitive, state, shape)) {
                responded = true;
                m_primitives.moveBodyOf(index, v3::minus(position, before));
            }
        }
        m_gridStages.assertListed(kStageFunction);
        const ContactTally<T> reported = m_gridStages.takeContacts();
        m_contacts.add(reported);
        if (m_accelerated && !responded && m_gridStages.leanAt(generation))
            m_quietShapes.remember(index, shape, generation, reported);
        return responded;
    }

    /// One pair; true when the contact counted.
    bool collidePair(uint64 iIndex, uint64 jIndex) {
        PhysicsCollisionPrimitive3D<T>& i = m_primitives[iIndex];
        PhysicsCollisionPrimitive3D<T>& j = m_primitives[jIndex];
        if (!j.active || j.body == i.body)
            return false;
        BodyState<T>* iState = m_primitives.stateOf(iIndex);
        BodyState<T>* jState = m_primitives.stateOf(jIndex);
        if (i.rigidBodyAttribute != nullptr && j.rigidBodyAttribute != nullptr &&
            (iState != nullptr ? excluded(*iState, *jState)
                               : excluded(*i.rigidBodyAttribute, *j.rigidBodyAttribute)))
            return false;
        Vector3<T> normal{};
        T depth = 0;
        if (!detect(m_detector, i, j, normal, depth))
            return false;
        m_contacts.add(depth);
        if (m_listed != nullptr)
            m_listed->push_back({i.body, i.element, j.body, j.element, nullptr, 0, 0, 0, normal, depth,
                                 listedPosition(i, iState), listedPosition(j, jState)});
        bool accepted = true;
        if (m_pairCallback != nullptr) {
            accepted = m_pairCallback(i.body, i.element, i.collisionAttribute, i.rigidBodyAttribute, j.body,
                                      j.element, j.collisionAttribute, j.rigidBodyAttribute, &normal, depth);
            m_gridStages.hostRan();
        }
        if (!accepted || i.rigidBodyAttribute == nullptr || j.rigidBodyAttribute == nullptr)
            return false;
        Vector3<T> iMove, jMove;
        const SharedMaterial<T>* shared = m_primitives.sharedMaterial();
        const PairResponse response =
            shared != nullptr ? respondToPair(*shared, *iState, *jState, normal, depth, iMove, jMove)
            : iState != nullptr
                ? respondToPair(*iState, *iState, *jState, *jState, normal, depth, iMove, jMove)
                : respondToPair(*i.rigidBodyAttribute, *i.bodyTransform, *j.rigidBodyAttribute,
                                *j.bodyTransform, normal, depth, iMove, jMove);
        if (response == PairResponse::None)
            return false;
        if (!(iMove == Vector3<T>{}))
            m_primitives.moveBodyOf(iIndex, iMove);
        if (!(jMove == Vector3<T>{}))
            m_primitives.moveBodyOf(jIndex, jMove);
        return true;
    }

    PhysicsEngine3D& m_engine;
    IScene3D& m_scene;
    /// The generation the scene declared when the stage began, or none.
    std::optional<uint64> m_generation;
    ICollisionDetector<T>& m_detector;
    CollisionCallback<T> m_pairCallback;
    bool m_hasGridStages;
    /// The grid stages have been read at the stage's first use of them.
    bool m_gridStagesBegun = false;
    /// A callback of the host's may run in the passes.
    bool m_hostCalledBack;
    /// The reach the detector declares, -1 when it declares none or the engine asks every pair.
    double m_reach;
    /// Pairs are found by the broad phase and the shortcuts run.
    bool m_accelerated;
    StageMemoryLease m_lease;
    GridStageSet<T>& m_gridStages;
    CollisionPrimitives<T>& m_primitives;
    ContactTally<T> m_contacts;
    Array<FarFromTiles>& m_farFromTiles;
    QuietShapes<T>& m_quietShapes;
    /// Where the stage lists its contacts, or null.
    ContactList<T>* m_listed = nullptr;
};

/// Slows every rigid body by its additional friction over the step; the bodies are left in
/// `kept`.
template <typename T>
void applyAdditionalFriction(IScene3D& scene, double deltaT, KeptBodies<T>& kept) {
    const T dt = T(deltaT);
    forEachSceneBody<T>(
        scene, kStageFunction,
        [dt](const FoundBody<T>& entry) {
            if (!(entry.traits & TraitFriction))
                return;
            RigidBody3DAttribute<T>& body = *entry.body;
            const T slowing = body.getAdditionalFriction() * dt;
            Vector3<T>& speed = body.getLinearSpeed();
            const T size = v3::length(speed);
            if (size > slowing)
                speed = v3::minus(speed, v3::times(v3::dividedBy(speed, size), slowing));
        },
        kept);
}

} // namespace

void setPairFinder(PhysicsEngine3D& engine, PairFinder finder) {
    stageStateOf(engine).finder = finder;
}

PairFinder getPairFinder(PhysicsEngine3D& engine) {
    return stageStateOf(engine).finder;
}

template <typename T>
bool updateSceneCollisions(PhysicsEngine3D& engine, IScene3D& scene) {
    bool pending;
    {
        CollisionStageState& state = stageStateOf(engine);
        CollisionPasses<T> passes(engine, scene, state, declaredReach(detectorOf<T>(engine)));
        pending = passes.run();
        state.contacts<T>() = passes.contacts();
        applyAdditionalFriction<T>(scene, engine.getDeltaT(), keptBodiesOf<T>(engine));
    }
    return pending;
}

ICollisionReport& collisionReportOf(PhysicsEngine3D& engine) {
    CollisionStageState& state = stageStateOf(engine);
    if (state.report == nullptr)
        state.report = CollisionReport::create(state.seen);
    return *state.report;
}

template <typename T>
KeptBodies<T>& keptBodiesOf(PhysicsEngine3D& engine) {
    CollisionStageState& state = stageStateOf(engine);
    return ofNumberType<T>(state.floatBodies, state.doubleBodies);
}

void forgetSceneReads(PhysicsEngine3D& engine) {
    auto* state = static_cast<CollisionStageState*>(engine.getReserved()->getState());
    if (state == nullptr)
        return;
    state->floatBodies.generation.reset();
    state->doubleBodies.generation.reset();
    state->memory.primitives<float>().forget();
    state->memory.primitives<double>().forget();
}

template KeptBodies<float>& keptBodiesOf<float>(PhysicsEngine3D&);
template KeptBodies<double>& keptBodiesOf<double>(PhysicsEngine3D&);
template bool updateSceneCollisions<float>(PhysicsEngine3D&, IScene3D&);
template bool updateSceneCollisions<double>(PhysicsEngine3D&, IScene3D&);

} // namespace zor
