#pragma once

#include "common/memory/MemoryBlock.h"

namespace zor {

class PhysicsEngine2D;

/// The companion of a PhysicsEngine2D: created and destroyed with its engine.
class PhysicsEngine2DReserved {
public:
    ZOR_BLOCK_ALLOCATED

    explicit PhysicsEngine2DReserved(PhysicsEngine2D* engine) : m_engine(engine) {}

    /// Slot 0: ends the companion; bit 0 of `flags` also frees it.
    virtual void deletingDestructor(uint32 flags) {
        this->~PhysicsEngine2DReserved();
        if (flags & 1u)
            operator delete(this);
    }
    /// Slot 1: deletes the companion.
    virtual void destroy() { deletingDestructor(1); }

    /// The engine this companion belongs to.
    PhysicsEngine2D* getEngine() const { return m_engine; }

protected:
    ~PhysicsEngine2DReserved() = default;

private:
    PhysicsEngine2D* m_engine;
};

} // namespace zor
