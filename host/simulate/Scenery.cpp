#include "host/simulate/Scenery.h"

#include <algorithm>

namespace zor::host {

namespace {

using Kind = SceneryFace::Kind;

template <typename T>
void addQuad(std::vector<SceneryFace>& faces, Kind kind, std::array<Vector3<T>, 4> corners) {
    SceneryFace face{kind, {}};
    for (const Vector3<T>& corner : corners)
        face.corners.push_back({double(corner.x), double(corner.y), double(corner.z)});
    faces.push_back(std::move(face));
}

// The wall segments of side `s` of the cell x0..x1, z0..z1 (z1 = z0 - depth): side 0 on x1,
// 1 on z1, 2 on x0, 3 on z0.
template <typename T>
void addWalls(std::vector<SceneryFace>& faces, const GridTile<T>& tile, int s, T x0, T x1, T z0, T z1) {
    const GridTileSide<T>& side = tile.sides[s];
    if (!side.sidePresent)
        return;
    const T spans[3][2] = {{tile.floorHeight, tile.ceilingHeight},
                           {tile.floorHeight, tile.floorHeight + side.lowerHeight},
                           {tile.ceilingHeight, tile.ceilingHeight + side.upperHeight}};
    const bool present[3] = {side.middlePresent != 0, side.lowerPresent != 0, side.upperPresent != 0};
    for (int segment = 0; segment < 3; ++segment) {
        const T low = std::min(spans[segment][0], spans[segment][1]);
        const T high = std::max(spans[segment][0], spans[segment][1]);
        if (!present[segment] || low == high)
            continue;
        if (s == 0 || s == 2) {
            const T x = s == 0 ? x1 : x0;
            addQuad<T>(faces, Kind::Wall, {{{x, low, z1}, {x, high, z1}, {x, high, z0}, {x, low, z0}}});
        } else {
            const T z = s == 1 ? z1 : z0;
            addQuad<T>(faces, Kind::Wall, {{{x0, low, z}, {x1, low, z}, {x1, high, z}, {x0, high, z}}});
        }
    }
}

template <typename T>
void addStage(std::vector<SceneryFace>& faces, const GridStage<T>& stage) {
    const Array<uint32>& cells = *stage.getCells();
    const Array<GridTile<T>>& tiles = *stage.getTiles();
    const T width = stage.getCellWidth();
    const T depth = stage.getCellDepth();
    for (uint64 row = 0; row < stage.getRows(); ++row)
        for (uint64 column = 0; column < stage.getColumns() && faces.size() < kMostSceneryFaces; ++column) {
            const uint64 cell = row * stage.getColumns() + column;
            if (cell >= cells.size() || cells[cell] == 0 || cells[cell] > tiles.size())
                continue;
            const GridTile<T>& tile = tiles[cells[cell] - 1];
            const T x0 = T(column) * width, x1 = x0 + width, z0 = -T(row) * depth, z1 = -T(row + 1) * depth;
            if (tile.floorPresent) {
                const T y = tile.floorHeight;
                addQuad<T>(faces, Kind::Floor, {{{x0, y, z1}, {x0, y, z0}, {x1, y, z0}, {x1, y, z1}}});
            }
            if (tile.ceilingPresent) {
                const T y = tile.ceilingHeight;
                addQuad<T>(faces, Kind::Ceiling, {{{x0, y, z1}, {x1, y, z1}, {x1, y, z0}, {x0, y, z0}}});
            }
            for (int s = 0; s < 4; ++s)
                addWalls(faces, tile, s, x0, x1, z0, z1);
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

template void collectScenery(Scene3D<float>&, std::vector<SceneryFace>&);
template void collectScenery(Scene3D<double>&, std::vector<SceneryFace>&);

} // namespace zor::host
