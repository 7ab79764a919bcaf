#include "host/scene3d/Mesh3D.h"

#include "host/scene3d/Transform3D.h"

namespace zor {

template <typename T>
Array<Vector3<T>>& Mesh3D<T>::transformed(const Matrix4x4<T>& world) {
    m_transformed.resize(m_vertices.size());
    for (uint64 i = 0; i < m_vertices.size(); ++i)
        m_transformed[i] = host::transformPoint(m_vertices[i], world);
    return m_transformed;
}

template class Mesh3D<float>;
template class Mesh3D<double>;

} // namespace zor
