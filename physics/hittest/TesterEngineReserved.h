#pragma once

#include "common/memory/MemoryBlock.h"

namespace zor {

class TesterEngine;

/// The companion of a TesterEngine: created and destroyed with its engine.
class TesterEngineReserved {
public:
    ZOR_BLOCK_ALLOCATED

    explicit TesterEngineReserved(TesterEngine* engine) : m_engine(engine) {}

    /// Slot 0: ends the companion; bit 0 of `flags` also frees it.
    virtual void deletingDestructor(uint32 flags) {
        this->~TesterEngineReserved();
        if (flags & 1u)
            operator delete(this);
    }
    /// Slot 1: deletes the companion.
    virtual void destroy() { deletingDestructor(1); }

    /// The engine this companion belongs to.
    TesterEngine* getEngine() const { return m_engine; }

protected:
    ~TesterEngineReserved() = default;

private:
    TesterEngine* m_engine;
};

} // namespace zor
