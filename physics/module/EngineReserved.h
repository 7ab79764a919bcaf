#pragma once

#include "common/memory/MemoryBlock.h"

namespace zor {

/// The companion of an engine (`PhysicsEngine3DReserved`, `PhysicsEngine2DReserved`,
/// `TesterEngineReserved`): created and destroyed with its engine.
template <typename Engine>
class EngineReserved {
public:
    ZOR_BLOCK_ALLOCATED

    explicit EngineReserved(Engine* engine) : m_engine(engine) {}

    /// Slot 0: ends the companion; bit 0 of `flags` also frees it.
    virtual void deletingDestructor(uint32 flags) {
        this->~EngineReserved();
        if (flags & 1u)
            operator delete(this);
    }
    /// Slot 1: deletes the companion.
    virtual void destroy() { deletingDestructor(1); }

    /// The engine this companion belongs to.
    Engine* getEngine() const { return m_engine; }

protected:
    ~EngineReserved() = default;

private:
    Engine* m_engine;
};

} // namespace zor
