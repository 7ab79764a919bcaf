#pragma once

#include "common/Types.h"
#include "common/containers/Array.h"
#include "physics/engine3d/ContactTally.h"
#include "physics/engine3d/gridstage/GridStageCollisions.h"

#include <cstring>

namespace zor {

/// Per primitive, a shape at which its test against the grid stages moved nothing in the current
/// collision stage, the generation of the grid stages it was tested at and the contacts it
/// reported (docs/engine3d.md, "Quiet shape"). A face moves a body only on a contact deeper than the slop, so
/// whether a test moves anything depends on the shape, the faces and the primitive's attributes alone; with a
/// declaring detector, which answers from its arguments alone, and every stage tested the lean
/// way, the same test at the same generation in the same stage moves nothing again.
template <typename T>
class QuietShapes {
public:
    QuietShapes() { m_quiet.setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo); }

    /// A collision stage of `count` primitives begins: no shape of it is known yet.
    void beginStage(uint64 count) {
        ++m_stage;
        // The array never shrinks, so every record past its size is as the array made it, of
        // stage 0: value-initialised, and left untouched until a shape is remembered there.
        if (count > m_quiet.size())
            m_quiet.resize(count);
    }
    /// The contacts reported when primitive `index` was tested at `shape`, to the bit, at
    /// `generation` in this stage and moved nothing; null when it was not.
    const ContactTally<T>* quiet(uint64 index, const CapsuleShape<T>& shape, uint64 generation) const {
        const Quiet& known = m_quiet[index];
        return known.stage == m_stage && known.generation == generation &&
                       std::memcmp(&known.shape, &shape, sizeof shape) == 0
                   ? &known.contacts
                   : nullptr;
    }
    /// Primitive `index`'s test at `shape` and `generation` moved nothing and reported `contacts`.
    void remember(uint64 index, const CapsuleShape<T>& shape, uint64 generation,
                  const ContactTally<T>& contacts) {
        m_quiet[index] = {m_stage, generation, shape, contacts};
    }

private:
    struct Quiet {
        uint64 stage;
        uint64 generation;
        CapsuleShape<T> shape;
        ContactTally<T> contacts;
    };
    Array<Quiet> m_quiet;
    /// The current stage's number; 0 is none.
    uint64 m_stage = 0;
};

} // namespace zor
