#pragma once

#include "common/memory/MemoryBlock.h"

namespace zor {

/// What an engine keeps from one call to the next for its own work (the collision stage's
/// broad phase, say), out of sight of the host; owned by the engine's companion.
class EngineState {
public:
    ZOR_BLOCK_ALLOCATED
    virtual ~EngineState() = default;
};

/// The companion of an engine (`PhysicsEngine3DReserved`, `PhysicsEngine2DReserved`,
/// `TesterEngineReserved`): created and destroyed with its engine.
template <typename Engine>
class EngineReserved {
public:
    ZOR_BLOCK_ALLOCATED

    explicit EngineReserved(Engine* engine) : m_engine(engine) {}

    /// Slot 0: ends the companion; bit 0 of `flags` also frees it.
    virtual void deletingDestructor(uint32 flags) {
        this->EngineReserved::~EngineReserved();
        if (flags & 1u)
            operator delete(this);
    }
    /// Slot 1: deletes the companion.
    virtual void destroy() { deletingDestructor(1); }

    /// The engine this companion belongs to.
    Engine* getEngine() const { return m_engine; }

    /// The state the engine keeps between calls, or null.
    EngineState* getState() const { return m_state; }
    /// Takes `state` in place of the one it held.
    void setState(EngineState* state) {
        delete m_state;
        m_state = state;
    }

protected:
    ~EngineReserved() { delete m_state; }

private:
    Engine* m_engine;
    EngineState* m_state = nullptr;
};

} // namespace zor
