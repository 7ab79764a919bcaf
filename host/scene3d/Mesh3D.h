#pragma once

#include "common/containers/Array.h"
#include "common/framework/IMesh.h"
#include "common/memory/MemoryBlock.h"
#include "common/variables/Matrix.h"
#include "common/variables/Vector.h"

namespace zor {

/// A host triangle mesh of number type T: vertices in the element's own coordinates and
/// triangles as index triples, counter-clockwise seen from the side they face. It keeps the
/// vertices last transformed into the world, which it hands to the engine.
template <typename T>
class Mesh3D final : public IMesh {
public:
    ZOR_BLOCK_ALLOCATED

    Mesh3D() = default;
    ZOR_DELETING_DESTRUCTOR(Mesh3D)
    uint64 getVertexCount() const override { return m_vertices.size(); }
    const Array<uint32>& getTriangleIndices() const override { return m_triangles; }

    Array<Vector3<T>>& vertices() { return m_vertices; }
    Array<uint32>& triangles() { return m_triangles; }
    /// The vertices taken through `world` (row vectors, w = 1); valid until the next call.
    Array<Vector3<T>>& transformed(const Matrix4x4<T>& world);

private:
    Array<Vector3<T>> m_vertices;
    Array<uint32> m_triangles;
    Array<Vector3<T>> m_transformed;
};

extern template class Mesh3D<float>;
extern template class Mesh3D<double>;

} // namespace zor
