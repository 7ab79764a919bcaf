#include "host/simulate/Scenery.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace zor::host {

namespace {

using Kind = SceneryFace::Kind;

// The face of kind `faceKind` (0 floor, 1 ceiling, 2 to 5 the walls of sides 0 to 3) and
// `segment` (0 for floors and ceilings, 1 lower, 2 middle, 3 upper) of `tile` in the cell
// x0..x1, z0..z1 (z1 = z0 - depth), with the engine's corners, which run counter-clockwise seen
// from the side that collides. False when the tile has no such face.
template <typename T>
bool tileFace(const GridTile<T>& tile, T x0, T x1, T z0, T z1, uint32 faceKind, uint32 segment,
              SceneryFace& face) {
    using Corners = std::array<Vector3<T>, 4>;
    Corners corners;
    if (faceKind <= 1) {
        if (segment != 0 || !(faceKind == 0 ? tile.floorPresent : tile.ceilingPresent))
            return false;
        const T y = faceKind == 0 ? tile.floorHeight : tile.ceilingHeight;
        face.kind = faceKind == 0 ? Kind::Floor : Kind::Ceiling;
        face.facing = {0, faceKind == 0 ? 1.0 : -1.0, 0};
        corners = faceKind == 0 ? Corners{{{x0, y, z1}, {x0, y, z0}, {x1, y, z0}, {x1, y, z1}}}
                                : Corners{{{x0, y, z1}, {x1, y, z1}, {x1, y, z0}, {x0, y, z0}}};
    } else {
        const uint32 s = faceKind - 2;
        if (s > 3 || segment < 1 || segment > 3 || !tile.sides[s].sidePresent)
            return false;
        const GridTileSide<T>& side = tile.sides[s];
        const bool present[3] = {side.lowerPresent != 0, side.middlePresent != 0, side.upperPresent != 0};
        const T spans[3][2] = {{tile.floorHeight, tile.floorHeight + side.lowerHeight},
                               {tile.floorHeight, tile.ceilingHeight},
                               {tile.ceilingHeight, tile.ceilingHeight + side.upperHeight}};
        const T low = std::min(spans[segment - 1][0], spans[segment - 1][1]);
        const T high = std::max(spans[segment - 1][0], spans[segment - 1][1]);
        if (!present[segment - 1] || low == high)
            return false;
        face.kind = Kind::Wall;
        if (s == 0)
            corners = {{{x1, low, z1}, {x1, high, z1}, {x1, high, z0}, {x1, low, z0}}};
        else if (s == 2)
            corners = {{{x0, low, z1}, {x0, low, z0}, {x0, high, z0}, {x0, high, z1}}};
        else if (s == 3)
            corners = {{{x0, low, z0}, {x1, low, z0}, {x1, high, z0}, {x0, high, z0}}};
        else
            corners = {{{x0, low, z1}, {x0, high, z1}, {x1, high, z1}, {x1, low, z1}}};
        const double facings[4][3] = {{1, 0, 0}, {0, 0, -1}, {-1, 0, 0}, {0, 0, 1}};
        face.facing = {facings[s][0], facings[s][1], facings[s][2]};
    }
    face.corners.clear();
    for (const Vector3<T>& corner : corners)
        face.corners.push_back({double(corner.x), double(corner.y), double(corner.z)});
    return true;
}

// The tile of `cell` and the cell's edges; false for an empty cell or one beyond the tiles.
template <typename T>
const GridTile<T>* cellTile(const GridStage<T>& stage, uint64 cell, T& x0, T& x1, T& z0, T& z1) {
    const Array<uint32>& cells = *stage.getCells();
    const Array<GridTile<T>>& tiles = *stage.getTiles();
    if (stage.getColumns() == 0 || cell >= cells.size() || cells[cell] == 0 || cells[cell] > tiles.size())
        return nullptr;
    const uint64 row = cell / stage.getColumns(), column = cell % stage.getColumns();
    x0 = T(column) * stage.getCellWidth();
    x1 = x0 + stage.getCellWidth();
    z0 = -T(row) * stage.getCellDepth();
    z1 = -T(row + 1) * stage.getCellDepth();
    return &tiles[cells[cell] - 1];
}

template <typename T>
void addStage(std::vector<SceneryFace>& faces, const GridStage<T>& stage) {
    const uint64 cells = stage.getRows() * stage.getColumns();
    SceneryFace face{};
    for (uint64 cell = 0; cell < cells && faces.size() < kMostSceneryFaces; ++cell) {
        T x0, x1, z0, z1;
        const GridTile<T>* tile = cellTile(stage, cell, x0, x1, z0, z1);
        if (tile == nullptr)
            continue;
        // In the engine's order: floor, ceiling, then each side's middle, lower and upper parts.
        if (tileFace(*tile, x0, x1, z0, z1, 0, 0, face))
            faces.push_back(face);
        if (tileFace(*tile, x0, x1, z0, z1, 1, 0, face))
            faces.push_back(face);
        for (uint32 side = 2; side < 6; ++side)
            for (uint32 segment : {2u, 1u, 3u})
                if (tileFace(*tile, x0, x1, z0, z1, side, segment, face))
                    faces.push_back(face);
    }
}

template <typename T>
void addMesh(std::vector<SceneryFace>& faces, Element3D<T>& element) {
    const Array<Vector3<T>>& vertices = element.mesh()->transformed(element.world());
    const Array<uint32>& indices = element.mesh()->triangles();
    for (uint64 i = 0; i + 2 < indices.size() && faces.size() < kMostSceneryFaces; i += 3) {
        if (std::max({indices[i], indices[i + 1], indices[i + 2]}) >= vertices.size())
            continue;
        SceneryFace face{Kind::Mesh, {}};
        for (uint64 corner = i; corner < i + 3; ++corner) {
            const Vector3<T>& vertex = vertices[indices[corner]];
            face.corners.push_back({double(vertex.x), double(vertex.y), double(vertex.z)});
        }
        faces.push_back(std::move(face));
    }
}

} // namespace

template <typename T>
bool gridStageFace(const GridStage<T>& stage, uint32 cell, uint32 faceKind, uint32 segment,
                   SceneryFace& face) {
    T x0, x1, z0, z1;
    const GridTile<T>* tile = cellTile(stage, cell, x0, x1, z0, z1);
    return tile != nullptr && tileFace(*tile, x0, x1, z0, z1, faceKind, segment, face);
}

template <typename T>
std::vector<std::array<double, 3>> viewVolume(const Camera<T>& camera) {
    const Matrix4x4<T> view = camera.viewMatrix();
    // The view matrix's columns are the camera's right, up and back directions.
    const double right[3] = {view[0], view[4], view[8]}, up[3] = {view[1], view[5], view[9]},
                 back[3] = {view[2], view[6], view[10]};
    const double eye[3] = {camera.eye.x, camera.eye.y, camera.eye.z};
    std::vector<std::array<double, 3>> corners;
    for (const double depth : {double(camera.nearPlane), double(camera.farPlane)}) {
        double halfWidth = double(camera.width) / 2, halfHeight = double(camera.height) / 2;
        if (camera.projection == Projection::Perspective) {
            halfHeight = depth * std::tan(double(camera.fieldOfViewY) / 2);
            halfWidth = halfHeight * double(camera.aspect);
        }
        for (const auto& [x, y] : {std::pair{-1, -1}, {1, -1}, {1, 1}, {-1, 1}}) {
            std::array<double, 3> corner{};
            for (int axis = 0; axis < 3; ++axis)
                corner[axis] =
                    eye[axis] + right[axis] * x * halfWidth + up[axis] * y * halfHeight - back[axis] * depth;
            corners.push_back(corner);
        }
    }
    return corners;
}

template <typename T>
void collectScenery(Scene3D<T>& scene, std::vector<SceneryFace>& faces) {
    CollectionIterator it;
    CollectionIterator end;
    if (IObjectCollection* stages = scene.getGridStages())
        for (stages->begin(&it), stages->end(&end); !(it == end); ++it)
            if (const auto* stage = dynamic_cast<const GridStage<T>*>(*it))
                addStage(faces, *stage);
    for (scene.elements().begin(&it), scene.elements().end(&end); !(it == end); ++it) {
        auto* element = static_cast<Element3D<T>*>(*it);
        if (element->mesh() != nullptr)
            addMesh(faces, *element);
    }
    if (faces.size() > kMostSceneryFaces)
        faces.resize(kMostSceneryFaces);
}

template bool gridStageFace(const GridStage<float>&, uint32, uint32, uint32, SceneryFace&);
template bool gridStageFace(const GridStage<double>&, uint32, uint32, uint32, SceneryFace&);
template std::vector<std::array<double, 3>> viewVolume(const Camera<float>&);
template std::vector<std::array<double, 3>> viewVolume(const Camera<double>&);
template void collectScenery(Scene3D<float>&, std::vector<SceneryFace>&);
template void collectScenery(Scene3D<double>&, std::vector<SceneryFace>&);

} // namespace zor::host
