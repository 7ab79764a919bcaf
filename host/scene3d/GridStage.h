#pragma once

#include "common/containers/Array.h"
#include "common/framework/IGridStage.h"
#include "common/framework/IObjectList.h"
#include "host/core/HostObject.h"

#include <string>

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
    explicit GridStage(uint32 columns = 0, uint32 rows = 0, T cellWidth = 0, T cellDepth = 0);
    ZOR_DELETING_DESTRUCTOR(GridStage)

    /// The stage for a scene file's type name ("GridStage3D{float}" or "GridStage3D{double}"),
    /// or null.
    static GridStage* create(const String& typeName);
    /// "GridStage3D{float}" or "GridStage3D{double}".
    const String& getTypeName() const override;
    /// Takes collision and rigid-body attributes of its number type, which join the attribute
    /// list of their kind in the order they come; refuses anything else.
    bool addChild(IObject* child) override;
    /// Name, size, cells and tiles; malformed ones are refused with an ERROR line naming them.
    bool read(IObject* reader) override;
    bool write(IObject* writer, uint8 typedMode, uint64 context) override;
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
    /// False, with `error` naming the first face whose attribute index names no attribute of
    /// the stage's lists.
    bool checkAttributeIndices(std::string& error) const;
    /// Moves every floor and ceiling by its speed over `deltaT`, as the host moves its lifts.
    void moveFaces(T deltaT);

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
