#include "host/scene3d/GridTileVariables.h"

#include <array>

namespace zor::host {

namespace {

constexpr const char* kSideNames[4] = {"side0", "side1", "side2", "side3"};
constexpr const char* kSegmentNames[3] = {"middle", "lower", "upper"};

// One face of a tile as the file has it. The tile record is packed, so its members are copied
// in and out rather than read and written in place.
template <typename T>
struct Face {
    bool present = false;
    T height = 0;
    T speed = 0;
    uint32 collision = kNoGridAttribute;
    uint32 rigidBody = kNoGridAttribute;
};

// The faces of a tile in file order: floor, ceiling, then each side's middle, lower and upper
// segment. Floors and ceilings have a speed, the lower and upper segments a height.
template <typename T>
using TileFaces = std::array<Face<T>, 14>;

bool hasSpeed(std::size_t face) {
    return face < 2;
}

bool hasHeight(std::size_t face) {
    return face >= 2 && (face - 2) % 3 != 0;
}

template <typename T>
TileFaces<T> facesOf(const GridTile<T>& tile) {
    TileFaces<T> faces;
    faces[0] = {tile.floorPresent != 0, 0, tile.floorSpeed, tile.floorCollision, tile.floorRigidBody};
    faces[1] = {tile.ceilingPresent != 0, 0, tile.ceilingSpeed, tile.ceilingCollision, tile.ceilingRigidBody};
    for (int s = 0; s < 4; ++s) {
        const GridTileSide<T>& side = tile.sides[s];
        faces[2 + 3 * s] = {side.middlePresent != 0, 0, 0, side.middleCollision, side.middleRigidBody};
        faces[3 + 3 * s] = {side.lowerPresent != 0, side.lowerHeight, 0, side.lowerCollision,
                            side.lowerRigidBody};
        faces[4 + 3 * s] = {side.upperPresent != 0, side.upperHeight, 0, side.upperCollision,
                            side.upperRigidBody};
    }
    return faces;
}

template <typename T>
void setFaces(GridTile<T>& tile, const TileFaces<T>& faces) {
    tile.floorPresent = faces[0].present;
    tile.floorSpeed = faces[0].speed;
    tile.floorCollision = faces[0].collision;
    tile.floorRigidBody = faces[0].rigidBody;
    tile.ceilingPresent = faces[1].present;
    tile.ceilingSpeed = faces[1].speed;
    tile.ceilingCollision = faces[1].collision;
    tile.ceilingRigidBody = faces[1].rigidBody;
    for (int s = 0; s < 4; ++s) {
        GridTileSide<T>& side = tile.sides[s];
        const Face<T>* segments = &faces[2 + 3 * s];
        side.middlePresent = segments[0].present;
        side.middleCollision = segments[0].collision;
        side.middleRigidBody = segments[0].rigidBody;
        side.lowerPresent = segments[1].present;
        side.lowerHeight = segments[1].height;
        side.lowerCollision = segments[1].collision;
        side.lowerRigidBody = segments[1].rigidBody;
        side.upperPresent = segments[2].present;
        side.upperHeight = segments[2].height;
        side.upperCollision = segments[2].collision;
        side.upperRigidBody = segments[2].rigidBody;
    }
}

// Reads the node `name` into faces[index]; an absent node leaves the face absent.
template <typename T>
bool readFace(IVariableReader* reader, const char* name, std::size_t index, TileFaces<T>& faces) {
    Face<T>& face = faces[index];
    bool found = false;
    if (!reader->enterNode(String(name), found))
        return false;
    face.present = found;
    if (!found)
        return true;
    const bool read = (!hasHeight(index) || readNumber(reader, "height", face.height)) &&
                      (!hasSpeed(index) || readNumber(reader, "speed", face.speed)) &&
                      readCount(reader, "collision", face.collision) &&
                      readCount(reader, "rigidBody", face.rigidBody);
    reader->leaveNode();
    return read;
}

// Only what differs from an absent value is written: a still face has no speed, a face
// without an attribute no index.
template <typename T>
bool writeFace(const VariablePass& pass, const char* name, std::size_t index, const TileFaces<T>& faces) {
    const Face<T>& face = faces[index];
    if (!face.present)
        return true;
    return pass.node(name, [&face, index](const VariablePass& own) {
        return (!hasHeight(index) || own.number("height", face.height)) &&
               (!hasSpeed(index) || face.speed == 0 || own.number("speed", face.speed)) &&
               (face.collision == kNoGridAttribute || own.count("collision", face.collision)) &&
               (face.rigidBody == kNoGridAttribute || own.count("rigidBody", face.rigidBody));
    });
}

} // namespace

String gridTileName(uint64 number) {
    return String(("tile" + std::to_string(number)).c_str());
}

template <typename T>
bool readGridTile(IVariableReader* reader, GridTile<T>& tile) {
    T floorHeight = 0;
    T ceilingHeight = 0;
    TileFaces<T> faces;
    bool sidePresent[4] = {};
    if (!readNumber(reader, "floorHeight", floorHeight) ||
        !readNumber(reader, "ceilingHeight", ceilingHeight) || !readFace(reader, "floor", 0, faces) ||
        !readFace(reader, "ceiling", 1, faces))
        return false;
    for (int s = 0; s < 4; ++s) {
        if (!reader->enterNode(String(kSideNames[s]), sidePresent[s]))
            return false;
        if (!sidePresent[s])
            continue;
        bool read = true;
        for (std::size_t segment = 0; segment < 3 && read; ++segment)
            read = readFace(reader, kSegmentNames[segment], 2 + 3 * s + segment, faces);
        reader->leaveNode();
        if (!read)
            return false;
    }
    tile = GridTile<T>{};
    tile.floorHeight = floorHeight;
    tile.ceilingHeight = ceilingHeight;
    setFaces(tile, faces);
    for (int s = 0; s < 4; ++s)
        tile.sides[s].sidePresent = sidePresent[s];
    return true;
}

template <typename T>
bool writeGridTile(const VariablePass& pass, const String& name, const GridTile<T>& tile) {
    const T floorHeight = tile.floorHeight;
    const T ceilingHeight = tile.ceilingHeight;
    const TileFaces<T> faces = facesOf(tile);
    return pass.node(name.c_str(), [&](const VariablePass& own) {
        if (!own.number("floorHeight", floorHeight) || !own.number("ceilingHeight", ceilingHeight) ||
            !writeFace(own, "floor", 0, faces) || !writeFace(own, "ceiling", 1, faces))
            return false;
        for (int s = 0; s < 4; ++s) {
            if (tile.sides[s].sidePresent && !own.node(kSideNames[s], [&faces, s](const VariablePass& wall) {
                    for (std::size_t segment = 0; segment < 3; ++segment)
                        if (!writeFace(wall, kSegmentNames[segment], 2 + 3 * s + segment, faces))
                            return false;
                    return true;
                }))
                return false;
        }
        return true;
    });
}

template bool readGridTile(IVariableReader*, GridTile<float>&);
template bool readGridTile(IVariableReader*, GridTile<double>&);
template bool writeGridTile(const VariablePass&, const String&, const GridTile<float>&);
template bool writeGridTile(const VariablePass&, const String&, const GridTile<double>&);

} // namespace zor::host
