#pragma once

#include "common/memory/MemoryBlock.h"

namespace zor {

class PhysicsEngine3D;

/// The companion of a PhysicsEngine3D: created and destroyed with its engine.
class PhysicsEngine3DReserved {
public:
    ZOR_BLOCK_ALLOCATED

    explicit PhysicsEngine3DReserved(PhysicsEngine3D* engine) : m_engine(engine) {}

    /// Slot 0: ends the companion; bit 0 of `flags` also frees it.
    virtual void deletingDestructor(uint32 flags) {
        this->~PhysicsEngine3DReserved();
        if (flags & 1u)
            operator delete(this);
    }
    /// Slot 1: deletes the companion.
    virtual void destroy() { deletingDestructor(1); }

    /// The engine this companion belongs to.
    PhysicsEngine3D* getEngine() const { return m_engine; }

protected:
    ~PhysicsEngine3DReserved() = default;

private:
    PhysicsEngine3D* m_engine;
};

} // namespace zor
