#include "physics/engine3d/broadphase/GridGathers.h"

#include "physics/engine3d/collision/CollisionSettings.h"

#include <algorithm>

namespace zor {

void GridGathers::resize(uint64 count) {
    m_cached.resize(count);
    m_gathered.resize(count);
    m_pool.resize(settings::kGatherPoolPerPrimitive * count + 64);
    m_start.resize(count);
    m_end.resize(count);
}

void GridGathers::gather(uint64 index, const WidenedBox& fat, const PairGrid& grid, const uint32*& first,
                         const uint32*& last) {
    if (m_cached[index] != m_grid) {
        grid.gather(fat, index, m_gathered);
        if (m_poolUsed + m_gathered.size() > m_pool.size()) {
            first = m_gathered.begin();
            last = m_gathered.end();
            return;
        }
        std::copy(m_gathered.begin(), m_gathered.end(), m_pool.begin() + m_poolUsed);
        m_start[index] = uint32(m_poolUsed);
        m_poolUsed += m_gathered.size();
        m_end[index] = uint32(m_poolUsed);
        m_cached[index] = m_grid;
    }
    first = m_pool.data() + m_start[index];
    last = m_pool.data() + m_end[index];
}

} // namespace zor
