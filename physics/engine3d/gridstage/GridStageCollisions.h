#pragma once

#include "common/Types.h"
#include "common/containers/Array.h"
#include "common/framework/GridTile.h"
#include "common/variables/Vector.h"
#include "physics/engine3d/CollisionCallbacks.h"
#include "physics/engine3d/ContactList.h"
#include "physics/engine3d/ContactTally.h"
#include "physics/engine3d/broadphase/PairGrid.h"

namespace zor {

class IObjectCollection;
template <typename T>
class IGridStage;
template <typename T>
class ICollisionDetector;
template <typename T>
struct PhysicsCollisionPrimitive3D;
template <typename T>
struct BodyState;
template <typename T>
class CollisionPrimitives;

/// The grid stage's collision attribute `index`, or null (no such index, the "none" index
/// 0xFFFFFFFE, a null entry, or an attribute of another class, which is reported).
template <typename T>
Collision3DAttribute<T>* getGridStageCollision3D(IGridStage<T>& stage, uint32 index);

/// The grid stage's rigid-body attribute `index`, or null, as getGridStageCollision3D.
template <typename T>
RigidBody3DAttribute<T>* getGridStageRigidBody3D(IGridStage<T>& stage, uint32 index);

/// A sphere or capsule as the grid-stage test carries it along while responses push its body.
template <typename T>
struct CapsuleShape {
    Vector3<T> pointA;
    Vector3<T> pointB;
    T radius;
};

/// A face attribute of a grid stage as last looked up, kept only when the look-up found one:
/// looking it up again would give the same without a word.
template <typename Attribute>
struct FoundAttribute {
    uint32 index = kNoGridAttribute;
    Attribute* attribute = nullptr;
};

/// The heights a tile's faces span; `any` false for a tile without faces. Where the stage's
/// faces are kept read, the tile's are `faceCount` from `firstFace` on.
template <typename T>
struct TileHeights {
    T low;
    T high;
    bool any;
    uint8 faceCount;
    uint64 firstFace;
};

/// A tile's face as a shape is tested against it when nothing but the response needs it: where
/// on the tile it lies, the heights passed for its corners, its rigid-body attribute (null for
/// none) and its speed.
template <typename T>
struct TileFace {
    RigidBody3DAttribute<T>* body;
    T low;
    T high;
    T speed;
    /// The face's place: floor, ceiling, walls of sides 0 to 3.
    uint8 place;
    /// A lone floor of a finite cell: within reach once its tile is.
    bool within;
};

/// What the grid stages of a scene were when a collision stage began (as far as telling whether
/// a shape is out of reach of every tile goes), and the generation the stage began at, kept by
/// the engine: a stage that finds the grid stages the same begins at the same generation, so
/// that what was found about them still holds.
struct GridStagesSeen {
    GridStagesSeen() {
        bytes.setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo);
        found.setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo);
    }
    Array<uint8> bytes;
    uint64 generation = 0;
    /// The last generation given out.
    uint64 generations = 0;
    /// Room for the stages as a stage finds them.
    Array<uint8> found;
};

/// The grid stages of a scene as the collision stage tests shapes against them: each stage's
/// size, cells and tiles, and the heights each tile's faces span, read on first use. They are
/// kept while only the module runs: once a host callback has run, which may have changed any
/// stage, each is read again when next used. The engine keeps the set from one collision stage
/// to the next, so that reading the stages allocates nothing once they stop growing.
template <typename T>
class GridStageSet {
public:
    GridStageSet();
    /// A collision stage begins on `stages`: nothing of them is known yet. With `passOverApart`,
    /// faces whose box lies beyond a shape's reach (its radius, the detector's `reach` and a
    /// margin for rounding) are passed over without asking the detector, which declared that it
    /// finds no contact there. With `listed`, every contact is listed there as it is found.
    void beginStage(IObjectCollection* stages, ICollisionDetector<T>& detector,
                    GridStageCollisionCallback<T> callback, bool passOverApart, double reach,
                    ContactList<T>* listed);
    GridStageSet(const GridStageSet&) = delete;
    GridStageSet& operator=(const GridStageSet&) = delete;

    /// Reads every stage and begins at the generation `seen` was taken at when the stages are
    /// the same, else at a new one (and `seen` is taken anew). Host code running later moves on
    /// to generations never given out before. Stages of more cells than settings::kComparedCells
    /// and settings::kComparedCellsPerShape for each of the `shapes` tested are not compared:
    /// they begin a new generation.
    void begin(GridStagesSeen& seen, uint64 shapes);
    /// The number of grid stages in the collection's order, up to its first null entry.
    uint64 count() { return m_listed == m_generation ? m_layouts.size() : list(); }
    /// Ends the process under `functionName` when the collection holds a null entry: called once
    /// the stages in front of it are tested, as a walk through the collection would.
    void assertListed(const char* functionName) const;
    /// Collides `shape` (a copy of `primitive`'s) with the faces of the tiles of stage `index`
    /// that its bounds overlap, widened by its radius: floors, ceilings and the wall segments of
    /// each present side. Each accepted contact between a rigid body and a rigid face gets the
    /// static-face response (on `state`, the copy of the body's state, when there is one), and
    /// the shape follows the body. True when any face responded.
    bool collide(uint64 index, PhysicsCollisionPrimitive3D<T>& primitive, BodyState<T>* state,
                 CapsuleShape<T>& shape);
    /// True when a rigid-body attribute of any stage's faces is the attribute of a body that
    /// `primitives` work on a copy of.
    bool holdsCopiedBody(const CollisionPrimitives<T>& primitives);
    /// True when no tile of any stage is within reach of a sphere or capsule of `radius` lying
    /// anywhere inside `box`: testing one there finds nothing and changes nothing.
    bool outOfReach(const WidenedBox& box, T radius);
    /// True when the generation is still `generation` and every stage is tested the lean way
    /// (or not at all): a test then runs no host code and looks nothing up.
    bool leanAt(uint64 generation);
    /// Host code has run: every stage is read again before it is next used.
    void hostRan() { m_generation = m_seen != nullptr ? ++m_seen->generations : m_generation + 1; }
    /// Changes whenever host code has run; never 0.
    uint64 generation() const { return m_generation; }
    /// The contacts the detector reported since the last call, which starts the count again.
    ContactTally<T> takeContacts() {
        const ContactTally<T> taken = m_contacts;
        m_contacts = {};
        return taken;
    }

private:
    struct Layout {
        IGridStage<T>* stage;
        uint64 read;
        uint32 columns;
        uint32 rows;
        /// The last column's and row's index as a coordinate in cells.
        T lastColumnAt;
        T lastRowAt;
        T width;
        T depth;
        const Array<uint32>* cells;
        /// The cells' values, where they stay while no host code runs.
        const uint32* cellValues;
        const Array<GridTile<T>>* tiles;
        uint64 tileCount;
        /// The stage has cells and tiles to test.
        bool usable;
        /// Whole tiles out of reach may be passed over: their faces' attributes, which are
        /// looked up first, write nothing to the log.
        bool passOverTiles;
        /// Usable, tiles passed over, no callback and no listing: collideRead tests the stage.
        bool lean;
        /// The largest coordinate of any face in size, read with the heights (0 before).
        double facesExtent;
        /// The tiles' heights in m_heights.
        uint64 firstHeight;
        uint64 heightCount;
        /// A tile whose only face is its floor has the floor's box (cells of a finite depth):
        /// once the tile is within reach, so is its floor.
        bool floorsAsTiles;
        /// The tiles' faces in m_faces, read with the heights: room for `faceRoom`.
        uint64 firstFace;
        uint64 faceRoom;
        /// The stage's attributes last found since it was read.
        FoundAttribute<Collision3DAttribute<T>> lastCollision;
        FoundAttribute<RigidBody3DAttribute<T>> lastRigidBody;
    };
    uint64 list();
    void read(Layout& layout);
    void readFaces(Layout& layout);
    /// collide without a callback on a stage whose tiles may be passed over: the faces come
    /// as read with the stage, in the order the tiles give them. `sphere` when the shape's ends
    /// are equal: its cells and reach are found from the first alone.
    template <bool sphere>
    [[gnu::always_inline]] inline bool collideRead(const Layout& layout,
                                                   PhysicsCollisionPrimitive3D<T>& primitive,
                                                   BodyState<T>* state, CapsuleShape<T>& shape);
    /// collide on any other stage: each tile's faces are read as the test comes to them, and
    /// after a callback from where the tile is then. Out of line, so that collide stays small.
    [[gnu::noinline]] bool collideEach(Layout& layout, PhysicsCollisionPrimitive3D<T>& primitive,
                                       BodyState<T>* state, CapsuleShape<T>& shape);

    IObjectCollection* m_stages = nullptr;
    ICollisionDetector<T>* m_detector = nullptr;
    GridStageCollisionCallback<T> m_callback = nullptr;
    ContactList<T>* m_contactList = nullptr;
    bool m_passOverApart = false;
    double m_reach = 0;
    uint64 m_generation = 1;
    uint64 m_listed = 0;
    /// The generation at which every stage was last found lean.
    uint64 m_leanAt = 0;
    /// The listing stopped at a null entry of the collection.
    bool m_endsInNull = false;
    GridStagesSeen* m_seen = nullptr;
    Array<Layout> m_layouts;
    Array<TileHeights<T>> m_heights;
    Array<TileFace<T>> m_faces;
    ContactTally<T> m_contacts;
};

} // namespace zor
