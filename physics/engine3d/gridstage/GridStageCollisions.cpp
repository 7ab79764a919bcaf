#include "physics/engine3d/gridstage/GridStageCollisions.h"

#include "common/containers/Array.h"
#include "common/framework/ICollisionDetector.h"
#include "common/framework/IGridStage.h"
#include "common/framework/IObjectCollection.h"
#include "common/framework/IObjectList.h"
#include "common/log/Log.h"
#include "common/object/Identifiers.h"
#include "physics/attributes/Collision3DAttribute.h"
#include "physics/attributes/RigidBody3DAttribute.h"
#include "physics/engine3d/collision/BodyState.h"
#include "physics/engine3d/collision/CollisionPrimitive.h"
#include "physics/engine3d/collision/CollisionResponse.h"
#include "physics/engine3d/collision/CollisionSettings.h"
#include "physics/engine3d/gridstage/CellGeometry.h"
#include "physics/engine3d/gridstage/FaceAttributes.h"
#include "physics/engine3d/gridstage/GridStageTest.h"
#include "physics/engine3d/gridstage/TileFaces.h"
#include "physics/math/Vector3Math.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>

namespace zor {

using namespace gridstage;

template <typename T>
Collision3DAttribute<T>* getGridStageCollision3D(IGridStage<T>& stage, uint32 index) {
    if (index == kNoGridAttribute)
        return nullptr;
    IObject* entry = listEntry(stage.getCollisionAttributes(), index);
    if (entry == nullptr)
        return nullptr;
    if (!entry->isTypeOf(guids::kCollision3DAttribute)) {
        zor_log(ZOR_LOG_MODULE, false, LogLevelWarn, "zor::PhysicsEngine3D::getGridStageCollision3D",
                "Physics attribute for collisions is not Collision3DAttribute");
        return nullptr;
    }
    return static_cast<Collision3DAttribute<T>*>(entry);
}

template <typename T>
RigidBody3DAttribute<T>* getGridStageRigidBody3D(IGridStage<T>& stage, uint32 index) {
    if (index == kNoGridAttribute)
        return nullptr;
    IObject* entry = listEntry(stage.getRigidBodyAttributes(), index);
    if (entry == nullptr)
        return nullptr;
    if (!entry->isTypeOf(guids::kRigidBody3DAttribute)) {
        zor_log(ZOR_LOG_MODULE, false, LogLevelWarn, "zor::PhysicsEngine3D::getGridStageRigidBody3D",
                "Physics attribute for rigid bodies is not RigidBody3DAttribute");
        return nullptr;
    }
    return static_cast<RigidBody3DAttribute<T>*>(entry);
}

template <typename T>
GridStageSet<T>::GridStageSet() {
    m_layouts.setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo);
    m_heights.setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo);
    m_faces.setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo);
}

template <typename T>
void GridStageSet<T>::beginStage(IObjectCollection* stages, ICollisionDetector<T>& detector,
                                 GridStageCollisionCallback<T> callback, bool passOverApart, double reach,
                                 ContactList<T>* listed) {
    m_stages = stages;
    m_detector = &detector;
    m_callback = callback;
    m_contactList = listed;
    m_passOverApart = passOverApart;
    m_reach = reach;
    m_generation = 1;
    m_listed = 0;
    m_leanAt = 0;
    m_endsInNull = false;
    m_seen = nullptr;
    m_contacts = {};
}

template <typename T>
uint64 GridStageSet<T>::list() {
    m_listed = m_generation;
    m_layouts.resize(0);
    m_heights.resize(0);
    m_faces.resize(0);
    CollectionIterator it;
    CollectionIterator end;
    m_stages->beginConst(&it);
    m_stages->endConst(&end);
    m_endsInNull = false;
    for (; !(it == end); ++it) {
        // The stages in front of a null entry are still tested; assertListed then ends the process.
        if (*it == nullptr) {
            m_endsInNull = true;
            break;
        }
        if (!(*it)->isTypeOf(guids::kGridStage))
            continue;
        Layout layout{};
        layout.stage = static_cast<IGridStage<T>*>(*it);
        layout.read = m_generation - 1;
        m_layouts.pushBack(layout);
    }
    return m_layouts.size();
}

template <typename T>
void GridStageSet<T>::read(Layout& layout) {
    IGridStage<T>& stage = *layout.stage;
    layout.read = m_generation;
    layout.columns = stage.getColumns();
    layout.rows = stage.getRows();
    layout.lastColumnAt = lastCellAt<T>(layout.columns);
    layout.lastRowAt = lastCellAt<T>(layout.rows);
    layout.width = stage.getCellWidth();
    layout.depth = stage.getCellDepth();
    layout.cells = stage.getCells();
    layout.cellValues = layout.cells != nullptr ? layout.cells->data() : nullptr;
    layout.tiles = stage.getTiles();
    layout.tileCount = layout.tiles != nullptr ? layout.tiles->size() : 0;
    layout.lastCollision = {};
    layout.lastRigidBody = {};
    layout.usable = layout.columns != 0 && layout.rows != 0 && layout.width != T(0) && layout.depth != T(0) &&
                    layout.cells != nullptr && layout.cells->size() >= uint64(layout.columns) * layout.rows &&
                    layout.tileCount != 0;
    layout.passOverTiles = layout.usable && m_passOverApart &&
                           holdsOnly(stage.getCollisionAttributes(), guids::kCollision3DAttribute) &&
                           holdsOnly(stage.getRigidBodyAttributes(), guids::kRigidBody3DAttribute);
    layout.floorsAsTiles = layout.passOverTiles && std::isfinite(layout.depth);
    layout.lean = layout.passOverTiles && m_callback == nullptr && m_contactList == nullptr;
    layout.facesExtent = 0;
    if (!layout.usable || !layout.passOverTiles)
        return;
    const uint64 tileCount = layout.tileCount;
    if (tileCount > layout.heightCount) {
        // Read again after a callback grew the tiles: a new run of heights.
        layout.firstHeight = m_heights.size();
        m_heights.resize(m_heights.size() + tileCount);
    }
    layout.heightCount = tileCount;
    // The detector's rounding grows with the faces' coordinates as well as the shape's: the
    // largest of them, worked out in double from the stage's size and the tiles' heights. Not a
    // number counts as infinite.
    double extent = 0;
    const auto include = [&extent](double size) {
        if (!(size <= extent))
            extent = std::isnan(size) ? std::numeric_limits<double>::infinity() : size;
    };
    include(std::fabs(double(layout.columns) * double(layout.width)));
    include(std::fabs(double(layout.rows) * double(layout.depth)));
    for (uint64 t = 0; t < tileCount; ++t) {
        TileHeights<T>& span = m_heights[layout.firstHeight + t];
        span.any = heightsOf((*layout.tiles)[t], span.low, span.high);
        if (span.any) {
            include(std::fabs(double(span.low)));
            include(std::fabs(double(span.high)));
        }
    }
    layout.facesExtent = extent * (1 + settings::kFaceExtentAllowance);
    if (m_callback == nullptr)
        readFaces(layout);
}

template <typename T>
void GridStageSet<T>::readFaces(Layout& layout) {
    const Array<GridTile<T>>& tiles = *layout.tiles;
    uint64 count = 0;
    for (uint64 t = 0; t < layout.tileCount; ++t)
        forEachFace(tiles[t], [&count](const GridFace<T>&) { ++count; });
    if (count > layout.faceRoom) {
        // More faces than when last read (host code changed the tiles): a new run of them.
        layout.firstFace = m_faces.size();
        layout.faceRoom = count;
        m_faces.resize(m_faces.size() + count);
    }
    // Their look-ups write nothing to the log: the stage holds only attributes of their class.
    FoundAttribute<RigidBody3DAttribute<T>> found;
    TileFace<T>* next = m_faces.data() + layout.firstFace;
    for (uint64 t = 0; t < layout.tileCount; ++t) {
        TileHeights<T>& span = m_heights[layout.firstHeight + t];
        span.firstFace = uint64(next - m_faces.data());
        span.faceCount = 0;
        forEachFace(tiles[t], [&](const GridFace<T>& face) {
            RigidBody3DAttribute<T>* body = lookUpAgain(found, face.rigidBodyIndex, [&](uint32 index) {
                return getGridStageRigidBody3D(*layout.stage, index);
            });
            // A lone floor of a finite cell is within reach once its tile is.
            *next++ = {body,       face.low,          face.high,
                       face.speed, uint8(face.place), layout.floorsAsTiles && face.alone};
            ++span.faceCount;
        });
    }
}

template <typename T>
bool GridStageSet<T>::collide(uint64 index, PhysicsCollisionPrimitive3D<T>& primitive, BodyState<T>* state,
                              CapsuleShape<T>& shape) {
    Layout& layout = m_layouts[index];
    if (layout.read != m_generation)
        read(layout);
    if (layout.lean)
        return shape.pointA == shape.pointB ? collideRead<true>(layout, primitive, state, shape)
                                            : collideRead<false>(layout, primitive, state, shape);
    return layout.usable && collideEach(layout, primitive, state, shape);
}

template <typename T>
bool GridStageSet<T>::collideEach(Layout& layout, PhysicsCollisionPrimitive3D<T>& primitive,
                                  BodyState<T>* state, CapsuleShape<T>& shape) {
    const uint32 columns = layout.columns;
    const Array<uint32>& cells = *layout.cells;
    const Array<GridTile<T>>& tiles = *layout.tiles;
    const CellRange range = cellsAround(shape, {columns - 1, layout.lastColumnAt},
                                        {layout.rows - 1, layout.lastRowAt}, layout.width, layout.depth);
    const TileHeights<T>* heights = layout.passOverTiles ? m_heights.data() + layout.firstHeight : nullptr;
    GridStageTest<T> test(*layout.stage, *m_detector, m_callback, primitive, state, shape, m_passOverApart,
                          layout.passOverTiles, layout.floorsAsTiles, heights, layout.lastCollision,
                          layout.lastRigidBody, m_reach, layout.facesExtent);
    test.listed = m_contactList;
    CellEdges<T> cell;
    cell.startRows(range.firstRow, layout.depth);
    for (uint32 row = range.firstRow; row <= range.lastRow; ++row) {
        cell.setRow(row, layout.depth);
        for (uint32 column = range.firstColumn; column <= range.lastColumn; ++column) {
            const uint32 cellIndex = row * columns + column;
            // A callback may have changed the cells and the tiles.
            if (test.calledBack && cellIndex >= cells.size())
                continue;
            const uint32 value = cells[cellIndex];
            if (value == 0 || value > (test.calledBack ? tiles.size() : layout.tileCount))
                continue;
            if (test.heights != nullptr) {
                const TileHeights<T>& span = test.heights[value - 1];
                if (!span.any || test.reach.apartVertically(span.low, span.high))
                    continue;
            }
            cell.setColumn(column, layout.width);
            test.cellIndex = cellIndex;
            test.tile(tiles, value - 1, cell);
        }
    }
    if (test.calledBack)
        hostRan();
    m_contacts.add(test.contacts);
    return test.responded;
}

template <typename T>
template <bool sphere>
bool GridStageSet<T>::collideRead(const Layout& layout, PhysicsCollisionPrimitive3D<T>& primitive,
                                  BodyState<T>* state, CapsuleShape<T>& shape) {
    const uint32 columns = layout.columns;
    const T width = layout.width, depth = layout.depth;
    const uint32* cells = layout.cellValues;
    const uint64 tileCount = layout.tileCount;
    const CellRange range = cellsAround<sphere>(shape, {columns - 1, layout.lastColumnAt},
                                                {layout.rows - 1, layout.lastRowAt}, width, depth);
    const TileHeights<T>* heights = m_heights.data() + layout.firstHeight;
    const TileFace<T>* faces = m_faces.data();
    RigidBody3DAttribute<T>* body = primitive.rigidBodyAttribute;
    // Responses move the body; its group stays.
    const uint32 group = groupOf(primitive, state);
    ShapeReach<T> reach(shape, m_reach, layout.facesExtent, sphere);
    bool responded = false;
    ContactTally<T> contacts;
    // The tile of the cell last met and what was found of it (neighbouring cells mostly share
    // their tile), until a response moves the shape: 0 is no tile, which is passed over.
    uint32 lastValue = 0;
    const TileHeights<T>* span = nullptr;
    bool apart = true;
    double yGap = 0;
    CellEdges<T> cell;
    cell.startRows(range.firstRow, depth);
    for (uint32 row = range.firstRow; row <= range.lastRow; ++row) {
        cell.setRow(row, depth);
        // The row's gap along z to every tile of it, until a response moves the shape.
        double zGap = reach.gapZ(cell.tileZLeast, cell.tileZMost);
        for (uint32 column = range.firstColumn; column <= range.lastColumn; ++column) {
            const uint32 value = cells[row * columns + column];
            if (value != lastValue) {
                if (value == 0 || value > tileCount)
                    continue;
                lastValue = value;
                span = heights + (value - 1);
                apart = !span->any || reach.apartVertically(span->low, span->high);
                if (!apart)
                    yGap = reach.gapY(span->low, span->high);
            }
            if (apart)
                continue;
            cell.setColumn(column, width);
            if (!reach.within(reach.gapX(cell.xLeast, cell.xMost), yGap, zGap))
                continue;
            const TileFace<T>* const end = faces + span->firstFace + span->faceCount;
            for (const TileFace<T>* face = faces + span->firstFace; face != end; ++face) {
                const FacePlace place = FacePlace(face->place);
                if (!face->within) {
                    Vector3<T> least, most;
                    cell.faceBox(place, face->low, face->high, least, most);
                    if (!reach.reaches(least, most))
                        continue;
                }
                RigidBody3DAttribute<T>* faceBody = face->body;
                if (excluded(group, faceBody))
                    continue;
                Vector3<T> normal;
                T faceDepth;
                if (!touchesFace(*m_detector, shape, cell, place, face->low, face->high, normal, faceDepth))
                    continue;
                contacts.add(faceDepth);
                if (body == nullptr || faceBody == nullptr ||
                    !respondToFace(primitive, state, *body, *faceBody, normal, faceDepth, face->speed, shape))
                    continue;
                reach.moveTo(shape, sphere);
                zGap = reach.gapZ(cell.tileZLeast, cell.tileZMost);
                lastValue = 0;
                apart = true;
                responded = true;
            }
        }
    }
    m_contacts.add(contacts);
    return responded;
}

template <typename T>
void GridStageSet<T>::assertListed(const char* functionName) const {
    if (m_endsInNull)
        failAssertion(ZOR_LOG_MODULE, functionName, "*it != NULL");
}

template <typename T>
void GridStageSet<T>::begin(GridStagesSeen& seen, uint64 shapes) {
    m_seen = &seen;
    const uint64 stages = count();
    uint64 cellCount = 0, tileCount = 0;
    for (uint64 index = 0; index < stages; ++index) {
        Layout& layout = m_layouts[index];
        if (layout.read != m_generation)
            read(layout);
        if (layout.usable)
            cellCount += uint64(layout.columns) * layout.rows;
        if (layout.usable && layout.passOverTiles)
            tileCount += layout.tileCount;
    }
    Array<uint8>& bytes = seen.found;
    bytes.resize(0);
    bool same = false;
    const bool compared = cellCount <= settings::kComparedCells + settings::kComparedCellsPerShape * shapes;
    if (compared) {
        // Everything outOfReach reads of the stages, written in place in room for the most it
        // may take.
        bytes.resize(2 * sizeof(uint64) +
                     stages * (sizeof(void*) + 2 * sizeof(bool) + 2 * sizeof(uint32) + 2 * sizeof(T) +
                               sizeof(uint64)) +
                     cellCount * sizeof(uint32) + tileCount * (sizeof(bool) + 2 * sizeof(T)));
        uint8* at = bytes.data();
        const auto put = [&at](const void* value, uint64 size) {
            std::memcpy(at, value, size);
            at += size;
        };
        const auto add = [&put](const auto& value) { put(&value, sizeof value); };
        add(uint64(sizeof(T)));
        add(stages);
        for (uint64 index = 0; index < stages; ++index) {
            const Layout& layout = m_layouts[index];
            add(layout.stage);
            add(layout.usable);
            add(layout.passOverTiles);
            if (!layout.usable || !layout.passOverTiles)
                continue;
            add(layout.columns);
            add(layout.rows);
            add(layout.width);
            add(layout.depth);
            add(layout.tileCount);
            put(layout.cells->data(), uint64(layout.columns) * layout.rows * sizeof(uint32));
            for (uint64 tile = 0; tile < layout.tileCount; ++tile) {
                const TileHeights<T>& span = m_heights[layout.firstHeight + tile];
                add(span.any);
                add(span.any ? span.low : T(0));
                add(span.any ? span.high : T(0));
            }
        }
        bytes.resize(uint64(at - bytes.data()));
        same = seen.generation != 0 && bytes.size() == seen.bytes.size() &&
               std::memcmp(bytes.data(), seen.bytes.data(), bytes.size()) == 0;
    }
    if (!same) {
        seen.bytes.swap(seen.found);
        if (!compared)
            seen.bytes.resize(0);
        seen.generation = ++seen.generations;
    }
    // What was just read holds at the generation begun.
    m_generation = seen.generation;
    m_listed = m_generation;
    for (uint64 index = 0; index < stages; ++index)
        m_layouts[index].read = m_generation;
}

template <typename T>
bool GridStageSet<T>::leanAt(uint64 generation) {
    if (generation != m_generation)
        return false;
    if (m_leanAt == generation)
        return true;
    const uint64 stages = count();
    for (uint64 index = 0; index < stages; ++index) {
        Layout& layout = m_layouts[index];
        if (layout.read != m_generation)
            read(layout);
        if (layout.usable && !layout.lean)
            return false;
    }
    m_leanAt = generation;
    return true;
}

template <typename T>
bool GridStageSet<T>::holdsCopiedBody(const CollisionPrimitives<T>& primitives) {
    // Looked through without listing the stages: a null entry ends the process only where the
    // stages are first used, as it always has.
    CollectionIterator it;
    CollectionIterator end;
    m_stages->beginConst(&it);
    m_stages->endConst(&end);
    for (; !(it == end); ++it) {
        if (*it == nullptr || !(*it)->isTypeOf(guids::kGridStage))
            continue;
        IObjectList* list = static_cast<IGridStage<T>*>(*it)->getRigidBodyAttributes();
        const uint32 entries = list != nullptr ? list->getCount() : 0;
        for (uint32 entry = 0; entry < entries; ++entry) {
            IObject* attribute = list->getData()[entry];
            if (attribute != nullptr && attribute->isTypeOf(guids::kRigidBody3DAttribute) &&
                primitives.isCopied(static_cast<const RigidBody3DAttribute<T>*>(attribute)))
                return true;
        }
    }
    return false;
}

template <typename T>
bool GridStageSet<T>::outOfReach(const WidenedBox& box, T radius) {
    // The reach of any shape inside the box, as the test of a tile's heights takes it.
    const double extent = larger(
        larger(larger(larger(larger(-box.low[0], -box.low[1]), -box.low[2]), box.high[0]), box.high[1]),
        box.high[2]);
    if (!std::isfinite(extent))
        return false;
    const double widened = widenedRadius(double(radius)) + m_reach;
    const uint64 stages = count();
    for (uint64 index = 0; index < stages; ++index) {
        Layout& layout = m_layouts[index];
        if (layout.read != m_generation)
            read(layout);
        if (!layout.usable)
            continue;
        // Only a stage whose tiles may be passed over whole (their look-ups report nothing),
        // with cells laid out the usual way.
        if (!layout.passOverTiles || !(layout.width > T(0)) || !(layout.depth > T(0)))
            return false;
        // The cells around the box, a little wider than the shape's own cells as the shape
        // works them out in its number type.
        const double slack = extent * settings::kCellAllowance + settings::kCellFloor;
        const double width = double(layout.width), depth = double(layout.depth);
        const uint32 firstColumn = clampedCell((box.low[0] - slack) / width, layout.columns);
        const uint32 lastColumn = clampedCell((box.high[0] + slack) / width, layout.columns);
        const uint32 firstRow = clampedCell(-(box.high[2] + slack) / depth, layout.rows);
        const uint32 lastRow = clampedCell(-(box.low[2] - slack) / depth, layout.rows);
        const double vertical = verticalReach(widened, larger(extent, layout.facesExtent));
        const TileHeights<T>* heights = m_heights.data() + layout.firstHeight;
        const Array<uint32>& cells = *layout.cells;
        for (uint32 row = firstRow; row <= lastRow; ++row)
            for (uint32 column = firstColumn; column <= lastColumn; ++column) {
                const uint32 value = cells[row * layout.columns + column];
                if (value == 0 || value > layout.tileCount || !heights[value - 1].any)
                    continue;
                const TileHeights<T>& span = heights[value - 1];
                if (!(double(span.low) - box.high[1] > vertical || box.low[1] - double(span.high) > vertical))
                    return false;
            }
    }
    return true;
}

#define ZOR_GRID_STAGE_COLLISIONS(T)                                                                         \
    template Collision3DAttribute<T>* getGridStageCollision3D<T>(IGridStage<T>&, uint32);                    \
    template RigidBody3DAttribute<T>* getGridStageRigidBody3D<T>(IGridStage<T>&, uint32);                    \
    template class GridStageSet<T>;
ZOR_GRID_STAGE_COLLISIONS(float)
ZOR_GRID_STAGE_COLLISIONS(double)
#undef ZOR_GRID_STAGE_COLLISIONS

} // namespace zor
