#pragma once

#include "common/ReservedSlots.h"
#include "common/framework/GridTile.h"
#include "common/object/IObject.h"

namespace zor {

class IObjectList;
template <typename T>
class Array;

/// A host grid stage of number type T: a tile map of `columns` x `rows` cells, columns along +x
/// (cell width) and rows along -z (cell depth). Each cell holds 0 (empty) or a tile number from
/// 1; the faces of its tile are collided with the scene's spheres and capsules.
template <typename T>
class IGridStage : public IObject {
public:
    ZOR_RESERVED_SLOT(42)
    ZOR_RESERVED_SLOT(43)
    ZOR_RESERVED_SLOT(44)
    ZOR_RESERVED_SLOT(45)
    ZOR_RESERVED_SLOT(46)
    ZOR_RESERVED_SLOT(47)
    /// Slot 48: the collision attributes the tiles name by index, or null.
    virtual IObjectList* getCollisionAttributes() = 0;
    ZOR_RESERVED_SLOT(49)
    ZOR_RESERVED_SLOT(50)
    /// Slot 51: the rigid-body attributes the tiles name by index, or null.
    virtual IObjectList* getRigidBodyAttributes() = 0;
    ZOR_RESERVED_SLOT(52)
    ZOR_RESERVED_SLOT(53)
    ZOR_RESERVED_SLOT(54)
    /// Slot 55.
    virtual uint32 getColumns() const = 0;
    ZOR_RESERVED_SLOT(56)
    /// Slot 57.
    virtual uint32 getRows() const = 0;
    ZOR_RESERVED_SLOT(58)
    /// Slot 59: the cell size along x.
    virtual T getCellWidth() const = 0;
    ZOR_RESERVED_SLOT(60)
    /// Slot 61: the cell size along -z.
    virtual T getCellDepth() const = 0;
    ZOR_RESERVED_SLOT(62)
    /// Slot 63: the cells, row by row.
    virtual const Array<uint32>* getCells() const = 0;
    ZOR_RESERVED_SLOT(64)
    ZOR_RESERVED_SLOT(65)
    /// Slot 66: the tiles that the cells name.
    virtual const Array<GridTile<T>>* getTiles() const = 0;

protected:
    ~IGridStage() = default;
};

} // namespace zor
