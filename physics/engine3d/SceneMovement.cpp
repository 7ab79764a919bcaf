#include "physics/engine3d/SceneMovement.h"

#include "common/framework/ViewRecord.h"
#include "physics/engine3d/PhysicsEngine3D.h"
#include "physics/engine3d/SceneBodies.h"
#include "physics/math/Matrix4x4Inverse.h"
#include "physics/math/MatrixRoutines.h"

namespace zor {

namespace {

// Brings a clip coordinate that left [-w, w] back in from the other side; true when it did.
template <typename T>
bool wrapClipCoordinate(T& coordinate, T w) {
    if (coordinate / w < -1) {
        coordinate = coordinate + 2 * w;
        return true;
    }
    if (coordinate / w > 1) {
        coordinate = coordinate - 2 * w;
        return true;
    }
    return false;
}

// The view-projection matrix and, once a body has wrapped, its inverse.
template <typename T>
class ClipSpace {
public:
    explicit ClipSpace(IScene3D& scene) {
        IObject* holder = scene.getViewHolder();
        const auto* view =
            holder != nullptr ? static_cast<const ViewRecord<T>*>(holder->getUserData()) : nullptr;
        m_available = view != nullptr;
        // VP = V·P: a point goes through the view first, then the projection.
        if (m_available)
            multiply(view->projection, m_viewProjection, view->view);
    }

    bool isAvailable() const { return m_available; }
    /// (x, y, z, 1)·VP with every product made: even with an affine VP (an orthographic view)
    /// w is computed, so that a body at an infinite coordinate gets an undefined w and stays.
    Vector4<T> toClip(const Vector3<T>& p) const {
        const Matrix4x4<T>& m = m_viewProjection;
        return {p.x * m[0] + p.y * m[4] + p.z * m[8] + m[12], p.x * m[1] + p.y * m[5] + p.z * m[9] + m[13],
                p.x * m[2] + p.y * m[6] + p.z * m[10] + m[14], p.x * m[3] + p.y * m[7] + p.z * m[11] + m[15]};
    }
    // The world point of a clip point; false when VP is singular, where clip space has no way
    // back and the wrap is not made.
    bool toWorld(const Vector4<T>& clip, Vector3<T>& out) {
        if (!m_inverseComputed) {
            m_inverse = m_viewProjection;
            m_invertible = inverse(m_inverse);
            m_inverseComputed = true;
        }
        if (!m_invertible)
            return false;
        Vector4<T> q;
        transform(m_inverse, q, clip);
        out = Vector3<T>{q.x, q.y, q.z};
        return true;
    }

private:
    bool m_available = false;
    bool m_inverseComputed = false;
    bool m_invertible = false;
    Matrix4x4<T> m_viewProjection;
    Matrix4x4<T> m_inverse;
};

} // namespace

template <typename T>
void updateSceneMovements(const PhysicsEngine3D& engine, IScene3D& scene, KeptBodies<T>& kept) {
    const T dt = static_cast<T>(engine.getDeltaT());
    const T g = static_cast<T>(scene.getGravity());
    forEachSceneBody<T>(
        scene, "zor::PhysicsEngine3D::updateSceneMovements",
        [dt, g](const FoundBody<T>& entry) {
            if (entry.traits & TraitImmovable)
                return;
            RigidBody3DAttribute<T>& body = *entry.body;
            Vector3<T>& v = body.getLinearSpeed();
            Vector3<T>& w = body.getAngularSpeed();
            const Vector3<T> a = body.getLinearAcceleration();
            const Vector3<T>& alpha = body.getAngularAcceleration();
            Vector3<T>& p = entry.transform->position;
            p = Vector3<T>{p.x + dt * v.x, p.y + dt * v.y, p.z + dt * v.z};
            v = Vector3<T>{(a.x + T(0)) * dt + v.x, (a.y - g) * dt + v.y, (a.z + T(0)) * dt + v.z};
            Vector3<T>& r = entry.transform->rotation;
            r = Vector3<T>{r.x + dt * w.x, r.y + dt * w.y, r.z + dt * w.z};
            w = Vector3<T>{w.x + dt * alpha.x, w.y + dt * alpha.y, w.z + dt * alpha.z};
        },
        kept);
}

template <typename T>
void finalizeScenePositions(IScene3D& scene, const FoundBodies<T>& found) {
    ClipSpace<T> clipSpace(scene);
    // The bits the walk before read: most bodies neither lock nor wrap, and their memory is
    // then not touched again.
    forEachFoundBody<T>(found, "zor::PhysicsEngine3D::finalizeScenePositions",
                        [&clipSpace](const FoundBody<T>& entry) {
                            const uint8 placing = entry.placing;
                            if (placing == 0)
                                return;
                            Vector3<T>& p = entry.transform->position;
                            if (placing & PlacingXLock)
                                p.x = 0;
                            if (placing & PlacingYLock)
                                p.y = 0;
                            if (placing & PlacingZLock)
                                p.z = 0;
                            const bool hLoop = (placing & PlacingHLoop) != 0;
                            const bool vLoop = (placing & PlacingVLoop) != 0;
                            if ((!hLoop && !vLoop) || !clipSpace.isAvailable())
                                return;
                            Vector4<T> c = clipSpace.toClip(p);
                            bool wrapped = hLoop && wrapClipCoordinate(c.x, c.w);
                            wrapped = (vLoop && wrapClipCoordinate(c.y, c.w)) || wrapped;
                            // A singular VP (a view that flattens a dimension) has no way back
                            // from clip space: the body then stays where the locks left it.
                            if (wrapped)
                                clipSpace.toWorld(c, p);
                        });
}

template void updateSceneMovements<float>(const PhysicsEngine3D&, IScene3D&, KeptBodies<float>&);
template void updateSceneMovements<double>(const PhysicsEngine3D&, IScene3D&, KeptBodies<double>&);
template void finalizeScenePositions<float>(IScene3D&, const FoundBodies<float>&);
template void finalizeScenePositions<double>(IScene3D&, const FoundBodies<double>&);

} // namespace zor
