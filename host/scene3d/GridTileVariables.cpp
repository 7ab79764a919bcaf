#include "host/scene3d/GridTileVariables.h"

#include <type_traits>

namespace zor::host {

namespace {

constexpr const char* kSideNames[4] = {"side0", "side1", "side2", "side3"};

// One face of a tile as the file sees it: whether it is there, its own height (wall segments
// that have one), its speed (floors and ceilings) and its attribute indices.
// `Number` is T for reading, const T for writing.
template <typename Number>
struct Face {
    using Flag = std::conditional_t<std::is_const_v<Number>, const uint8, uint8>;
    using Index = std::conditional_t<std::is_const_v<Number>, const uint32, uint32>;
    Flag& present;
    Number* height;
    Number* speed;
    Index& collision;
    Index& rigidBody;
};

template <typename T>
bool readFace(IVariableReader* reader, const char* name, const Face<T>& face) {
    bool found = false;
    face.collision = face.rigidBody = kNoGridAttribute;
    if (!reader->enterNode(String(name), found))
        return false;
    face.present = found ? 1 : 0;
    if (!found)
        return true;
    const bool read = (face.height == nullptr || readNumber(reader, "height", *face.height)) &&
                      (face.speed == nullptr || readNumber(reader, "speed", *face.speed)) &&
                      readCount(reader, "collision", face.collision) &&
                      readCount(reader, "rigidBody", face.rigidBody);
    reader->leaveNode();
    return read;
}

// Only what differs from an absent value is written: a still face has no speed, a face
// without an attribute no index.
template <typename T>
bool writeFace(const VariablePass& pass, const char* name, const Face<const T>& face) {
    if (!face.present)
        return true;
    return pass.node(name, [&face](const VariablePass& own) {
        return (face.height == nullptr || own.number("height", *face.height)) &&
               (face.speed == nullptr || *face.speed == 0 || own.number("speed", *face.speed)) &&
               (face.collision == kNoGridAttribute || own.count("collision", face.collision)) &&
               (face.rigidBody == kNoGridAttribute || own.count("rigidBody", face.rigidBody));
    });
}

// The faces of a tile in file order; `Tile` is GridTile<T> or its const form.
template <typename T, typename Tile>
Face<T> floorOf(Tile& tile) {
    return {tile.floorPresent, nullptr, &tile.floorSpeed, tile.floorCollision, tile.floorRigidBody};
}

template <typename T, typename Tile>
Face<T> ceilingOf(Tile& tile) {
    return {tile.ceilingPresent, nullptr, &tile.ceilingSpeed, tile.ceilingCollision, tile.ceilingRigidBody};
}

template <typename T, typename Side>
Face<T> middleOf(Side& side) {
    return {side.middlePresent, nullptr, nullptr, side.middleCollision, side.middleRigidBody};
}

template <typename T, typename Side>
Face<T> lowerOf(Side& side) {
    return {side.lowerPresent, &side.lowerHeight, nullptr, side.lowerCollision, side.lowerRigidBody};
}

template <typename T, typename Side>
Face<T> upperOf(Side& side) {
    return {side.upperPresent, &side.upperHeight, nullptr, side.upperCollision, side.upperRigidBody};
}

} // namespace

String gridTileName(uint64 number) {
    return String(("tile" + std::to_string(number)).c_str());
}

template <typename T>
bool readGridTile(IVariableReader* reader, GridTile<T>& tile) {
    tile = GridTile<T>{};
    if (!readNumber(reader, "floorHeight", tile.floorHeight) ||
        !readNumber(reader, "ceilingHeight", tile.ceilingHeight) ||
        !readFace(reader, "floor", floorOf<T>(tile)) || !readFace(reader, "ceiling", ceilingOf<T>(tile)))
        return false;
    for (int s = 0; s < 4; ++s) {
        GridTileSide<T>& side = tile.sides[s];
        bool found = false;
        if (!reader->enterNode(String(kSideNames[s]), found))
            return false;
        side.sidePresent = found ? 1 : 0;
        if (!found) {
            for (const Face<T>& segment : {middleOf<T>(side), lowerOf<T>(side), upperOf<T>(side)})
                segment.collision = segment.rigidBody = kNoGridAttribute;
            continue;
        }
        const bool read = readFace(reader, "middle", middleOf<T>(side)) &&
                          readFace(reader, "lower", lowerOf<T>(side)) &&
                          readFace(reader, "upper", upperOf<T>(side));
        reader->leaveNode();
        if (!read)
            return false;
    }
    return true;
}

template <typename T>
bool writeGridTile(const VariablePass& pass, const String& name, const GridTile<T>& tile) {
    return pass.node(name.c_str(), [&tile](const VariablePass& own) {
        if (!own.number("floorHeight", tile.floorHeight) ||
            !own.number("ceilingHeight", tile.ceilingHeight) ||
            !writeFace(own, "floor", floorOf<const T>(tile)) ||
            !writeFace(own, "ceiling", ceilingOf<const T>(tile)))
            return false;
        for (int s = 0; s < 4; ++s) {
            const GridTileSide<T>& side = tile.sides[s];
            if (side.sidePresent && !own.node(kSideNames[s], [&side](const VariablePass& wall) {
                    return writeFace(wall, "middle", middleOf<const T>(side)) &&
                           writeFace(wall, "lower", lowerOf<const T>(side)) &&
                           writeFace(wall, "upper", upperOf<const T>(side));
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
