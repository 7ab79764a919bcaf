#pragma once

#include "common/Types.h"

namespace zor {

template <typename T>
class Array;

/// A host mesh object (what a mesh element's slot 163 gives): its vertices, which the element
/// hands out transformed (slot 172), and its triangles as index triples into them, each
/// counter-clockwise seen from the side it faces.
class IMesh {
public:
    /// Slot 0: ends the mesh; bit 0 of `flags` also frees it.
    virtual void deletingDestructor(uint32 flags) = 0;
    /// Slot 1: the number of vertices (a mesh without vertices takes no part in collisions).
    virtual uint64 getVertexCount() const = 0;
    /// Slot 2: three vertex indices per triangle.
    virtual const Array<uint32>& getTriangleIndices() const = 0;

protected:
    ~IMesh() = default;
};

} // namespace zor
