#include "host/scene3d/GridStage.h"

#include "common/object/Identifiers.h"
#include "host/io/NumberText.h"
#include "host/io/VariablePlace.h"
#include "host/scene3d/GridTileVariables.h"
#include "host/scene3d/NumberList.h"
#include "host/scene3d/SceneNumber.h"

#include <algorithm>
#include <vector>

namespace zor {

uint32 AttributeList::add(IObject* attribute) {
    m_entries.pushBack(attribute != nullptr ? attribute->retain() : nullptr);
    return uint32(m_entries.size() - 1);
}

AttributeList::~AttributeList() {
    for (IObject* entry : m_entries)
        if (entry != nullptr)
            entry->release();
}

template <typename T>
GridStage<T>::GridStage(uint32 columns, uint32 rows, T cellWidth, T cellDepth)
    : m_columns(columns), m_rows(rows), m_cellWidth(cellWidth), m_cellDepth(cellDepth),
      m_collisionAttributes(new AttributeList()), m_rigidBodyAttributes(new AttributeList()) {
    m_cells.resize(uint64(columns) * rows);
    for (uint32& cell : m_cells)
        cell = 0;
}

template <typename T>
GridStage<T>::~GridStage() {
    m_collisionAttributes->release();
    m_rigidBodyAttributes->release();
}

template <typename T>
const String& GridStage<T>::getTemplateTypeName() const {
    return SceneNumber<T>::name();
}

template <typename T>
int32 GridStage<T>::getTemplateType() const {
    return SceneNumber<T>::kCode;
}

template <typename T>
bool GridStage<T>::isTypeOf(const GUID_t& guid) const {
    return guid == guids::kGridStage || HostObjectOf<IGridStage<T>>::isTypeOf(guid);
}

template <typename T>
GridStage<T>* GridStage<T>::create(const String& typeName) {
    // Every object of a scene file is offered to this first.
    static const String kTypeName = sceneTypeName<T>("GridStage3D");
    return typeName == kTypeName ? new GridStage<T>() : nullptr;
}

template <typename T>
const String& GridStage<T>::getTypeName() const {
    static const String typeName = sceneTypeName<T>("GridStage3D");
    return typeName;
}

template <typename T>
bool GridStage<T>::addChild(IObject* child) {
    if (child == nullptr || child->getTemplateType() != SceneNumber<T>::kCode)
        return false;
    const bool collision = child->isTypeOf(guids::kCollision3DAttribute);
    if ((!collision && !child->isTypeOf(guids::kRigidBody3DAttribute)) ||
        !HostObjectOf<IGridStage<T>>::addChild(child))
        return false;
    (collision ? m_collisionAttributes : m_rigidBodyAttributes)->add(child);
    return true;
}

namespace {

// A stage larger than this is a typing error rather than a level.
constexpr uint64 kMostCells = uint64(1) << 24;

// Checks the stage's size and turns the cell text (absent: all cells empty) into cells; refuses
// with the place of what is wrong.
template <typename T>
bool readCells(IVariableReader* reader, uint32 columns, uint32 rows, T cellWidth, T cellDepth,
               const String* text, Array<uint32>& cells) {
    // Cells of no size put every body in one cell and divide by zero on the way.
    if (!(cellWidth > 0))
        return host::refuseVariable(*reader, "cellWidth", "a cell width above 0",
                                    host::numberText(cellWidth));
    if (!(cellDepth > 0))
        return host::refuseVariable(*reader, "cellDepth", "a cell depth above 0",
                                    host::numberText(cellDepth));
    const uint64 count = uint64(columns) * rows;
    if (count > kMostCells)
        return host::refuseVariable(*reader, "rows",
                                    "columns x rows of " + std::to_string(kMostCells) + " cells at most",
                                    std::to_string(count) + " cells");
    std::vector<uint32> values;
    std::string error;
    if (text == nullptr) {
        values.assign(count, 0);
    } else {
        if (!host::parseNumberList(*text, values, error))
            return host::refuseVariable(*reader, "cells", "cell values, whole numbers", error);
        if (values.size() != count)
            return host::refuseVariable(*reader, "cells",
                                        "columns x rows = " + std::to_string(count) + " values",
                                        std::to_string(values.size()));
    }
    cells.resize(count);
    std::copy(values.begin(), values.end(), cells.begin());
    return true;
}

// Every cell names no tile (0) or one the stage has.
bool checkCellTiles(IVariableReader* reader, uint32 columns, const Array<uint32>& cells, uint64 tiles) {
    for (uint64 i = 0; i < cells.size(); ++i)
        if (cells[i] > tiles)
            return host::refuseVariable(
                *reader, "cells", "cell values from 0 to " + std::to_string(tiles) + " (the stage's tiles)",
                std::to_string(cells[i]) + " at column " + std::to_string(i % columns) + ", row " +
                    std::to_string(i / columns));
    return true;
}

} // namespace

template <typename T>
bool GridStage<T>::read(IObject* object) {
    auto* reader = static_cast<IVariableReader*>(object);
    bool found = false;
    String text;
    if (!host::readName(reader, *this) || !host::readCount(reader, "columns", m_columns) ||
        !host::readCount(reader, "rows", m_rows) || !host::readNumber(reader, "cellWidth", m_cellWidth) ||
        !host::readNumber(reader, "cellDepth", m_cellDepth) ||
        !reader->readString(String("cells"), found, text, 0) ||
        !readCells(reader, m_columns, m_rows, m_cellWidth, m_cellDepth, found ? &text : nullptr, m_cells))
        return false;
    m_tiles.resize(0);
    for (uint64 number = 1;; ++number) {
        if (!reader->enterNode(host::gridTileName(number), found))
            return false;
        if (!found)
            return checkCellTiles(reader, m_columns, m_cells, m_tiles.size());
        GridTile<T> tile;
        const bool read = host::readGridTile(reader, tile);
        reader->leaveNode();
        if (!read)
            return false;
        m_tiles.pushBack(tile);
    }
}

template <typename T>
bool GridStage<T>::write(IObject* writer, uint8 typedMode, uint64 context) {
    return host::writeInPasses(writer, typedMode, context, [this](const host::VariablePass& pass) {
        // One row of cells per group.
        const String cells =
            host::numberListText(m_cells.data(), m_cells.size(), std::max<uint32>(m_columns, 1));
        if (!pass.text("name", this->getName()) || !pass.count("columns", m_columns) ||
            !pass.count("rows", m_rows) || !pass.number("cellWidth", m_cellWidth) ||
            !pass.number("cellDepth", m_cellDepth) || !pass.text("cells", cells))
            return false;
        for (uint64 i = 0; i < m_tiles.size(); ++i)
            if (!host::writeGridTile(pass, host::gridTileName(i + 1), m_tiles[i]))
                return false;
        return true;
    });
}

template <typename T>
bool GridStage<T>::checkAttributeIndices(std::string& error) const {
    const uint32 counts[2] = {m_collisionAttributes->getCount(), m_rigidBodyAttributes->getCount()};
    for (uint64 i = 0; i < m_tiles.size(); ++i) {
        const bool named = host::forEachGridFace(
            m_tiles[i], [&](const std::string& face, uint32 collision, uint32 rigidBody) {
                const uint32 indices[2] = {collision, rigidBody};
                for (int kind = 0; kind < 2; ++kind)
                    if (indices[kind] != kNoGridAttribute && indices[kind] >= counts[kind]) {
                        error = std::string(host::gridTileName(i + 1).c_str()) + " " + face + ": " +
                                (kind == 0 ? "collision" : "rigid-body") + " attribute " +
                                std::to_string(indices[kind]) + " names none (the stage has " +
                                std::to_string(counts[kind]) + ")";
                        return false;
                    }
                return true;
            });
        if (!named)
            return false;
    }
    return true;
}

template <typename T>
void GridStage<T>::moveFaces(T deltaT) {
    for (GridTile<T>& tile : m_tiles) {
        tile.floorHeight += tile.floorSpeed * deltaT;
        tile.ceilingHeight += tile.ceilingSpeed * deltaT;
    }
}

template class GridStage<float>;
template class GridStage<double>;

} // namespace zor
