#include "host/simulate/Scenery.h"

#include "physics/engine3d/gridstage/TileFaces.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace zor::host {

namespace {

using Kind = SceneryFace::Kind;

// `face` of a tile in the cell x0..x1, z0..z1 (z1 = z0 - depth) as the picture draws it, with
// the engine's corners, which run counter-clockwise seen from the side that collides.
template <typename T>
SceneryFace sceneryFace(const gridstage::GridFace<T>& face, T x0, T x1, T z0, T z1) {
    // Per place: floor, ceiling, then the walls of sides 0 to 3.
    static constexpr std::array<double, 3> kFacings[6] = {{0, 1, 0},  {0, -1, 0}, {1, 0, 0},
                                                          {0, 0, -1}, {-1, 0, 0}, {0, 0, 1}};
    const auto place = uint32(face.place);
    SceneryFace scenery{place == 0   ? Kind::Floor
                        : place == 1 ? Kind::Ceiling
                                     : Kind::Wall,
                        {},
                        kFacings[place]};
    for (const Vector3<T>& corner : gridstage::faceCorners(face.place, x0, x1, z0, z1, face.low, face.high))
        scenery.corners.push_back({double(corner.x), double(corner.y), double(corner.z)});
    return scenery;
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
    for (uint64 cell = 0; cell < cells && faces.size() < kMostSceneryFaces; ++cell) {
        T x0, x1, z0, z1;
        const GridTile<T>* tile = cellTile(stage, cell, x0, x1, z0, z1);
        if (tile == nullptr)
            continue;
        gridstage::forEachFace(*tile, [&](const gridstage::GridFace<T>& face) {
            faces.push_back(sceneryFace(face, x0, x1, z0, z1));
        });
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
    bool found = false;
    if (tile != nullptr)
        gridstage::forEachFace(*tile, [&](const gridstage::GridFace<T>& named) {
            if (!found && named.kind == faceKind && named.segment == segment) {
                face = sceneryFace(named, x0, x1, z0, z1);
                found = true;
            }
        });
    return found;
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
