#include "host/scene3d/GridStage.h"

#include "common/object/Identifiers.h"
#include "host/scene3d/SceneNumber.h"

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

template class GridStage<float>;
template class GridStage<double>;

} // namespace zor
