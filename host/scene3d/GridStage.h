#pragma once

#include "common/containers/Array.h"
#include "common/framework/IGridStage.h"
#include "common/framework/IObjectList.h"
#include "host/core/HostObject.h"

namespace zor {

/// The host's list of attributes of a grid stage; it holds a reference on each entry.
class AttributeList : public HostObjectOf<IObjectList> {
public:
    AttributeList() = default;
    ZOR_DELETING_DESTRUCTOR(AttributeList)
    /// Appends `attribute` (a reference is taken; null stays a null entry); returns its index.
    uint32 add(IObject* attribute);
    IObject* const* getData() const override { return m_entries.data(); }
    uint32 getCount() const override { return uint32(m_entries.size()); }

protected:
    ~AttributeList();

private:
    Array<IObject*> m_entries;
};

/// A host grid stage of number type T: a tile map whose cells name tiles with floors, ceilings
/// and walls, each face with its own collision and rigid-body attribute.
template <typename T>
class GridStage : public HostObjectOf<IGridStage<T>> {
public:
    GridStage(uint32 columns, uint32 rows, T cellWidth, T cellDepth);
    ZOR_DELETING_DESTRUCTOR(GridStage)
    /// "float" or "double".
    const String& getTemplateTypeName() const override;
    int32 getTemplateType() const override;
    uint32 getTemplateTypeSize() const override { return sizeof(T); }
    /// A grid stage; a host object.
    bool isTypeOf(const GUID_t& guid) const override;
    IObject* castTo(const GUID_t& guid) override { return isTypeOf(guid) ? this : nullptr; }

    IObjectList* getCollisionAttributes() override { return m_collisionAttributes; }
    IObjectList* getRigidBodyAttributes() override { return m_rigidBodyAttributes; }
    uint32 getColumns() const override { return m_columns; }
    uint32 getRows() const override { return m_rows; }
    T getCellWidth() const override { return m_cellWidth; }
    T getCellDepth() const override { return m_cellDepth; }
    const Array<uint32>* getCells() const override { return &m_cells; }
    const Array<GridTile<T>>* getTiles() const override { return &m_tiles; }

    /// Row-by-row cell values (0 empty, n the tile n - 1); all empty at first.
    Array<uint32>& cells() { return m_cells; }
    Array<GridTile<T>>& tiles() { return m_tiles; }
    AttributeList& collisionAttributes() { return *m_collisionAttributes; }
    AttributeList& rigidBodyAttributes() { return *m_rigidBodyAttributes; }

protected:
    ~GridStage();

private:
    uint32 m_columns;
    uint32 m_rows;
    T m_cellWidth;
    T m_cellDepth;
    Array<uint32> m_cells;
    Array<GridTile<T>> m_tiles;
    AttributeList* m_collisionAttributes;
    AttributeList* m_rigidBodyAttributes;
};

extern template class GridStage<float>;
extern template class GridStage<double>;

} // namespace zor
