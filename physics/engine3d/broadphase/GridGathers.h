#pragma once

#include "common/containers/Array.h"
#include "physics/engine3d/broadphase/PairGrid.h"

namespace zor {

/// The pair grid's gathers for primitives without a list of their own (loose ones, or settled
/// ones whose list did not fit): the filed boxes after a primitive that overlap its fat box. They
/// stay the same while the grid and the fat box do (the filed ones that move out become loose,
/// and are found as such), so each is kept in a pool while the pool has room.
class GridGathers {
public:
    GridGathers() {
        m_gathered.setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo);
        m_pool.setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo);
    }

    /// Room for `count` primitives.
    void resize(uint64 count);
    /// The grid has been built again: every gather is forgotten.
    void gridBuilt() {
        m_poolUsed = 0;
        ++m_grid;
    }
    /// Primitive `index` has a new fat box: its gather is forgotten.
    void forget(uint64 index) { m_cached[index] = 0; }
    /// Points [first, last) at the filed primitives after `index` whose fat boxes overlap `fat`,
    /// its own, gathered from `grid` or kept from an earlier gather.
    void gather(uint64 index, const WidenedBox& fat, const PairGrid& grid, const uint32*& first,
                const uint32*& last);

private:
    /// The last gather, when it did not fit in the pool.
    Array<uint32> m_gathered;
    Array<uint32> m_pool;
    uint64 m_poolUsed = 0;
    /// Per primitive the grid its gather was kept for (0: none), and where it lies in the pool.
    Array<uint64> m_cached;
    Array<uint32> m_start;
    Array<uint32> m_end;
    /// Counts the grids built.
    uint64 m_grid = 0;
};

} // namespace zor
