#pragma once

#include "common/containers/Array.h"
#include "common/framework/ICollisionDetector.h"
#include "common/framework/IMesh.h"
#include "host/core/HostObject.h"
#include "host/detector/CollisionGeometry.h"
#include "host/detector/ContactReach.h"

#include <array>
#include <cstddef>
#include <unordered_set>
#include <vector>

namespace zor::test {

/// A collision detector with the host's geometry that reports contacts up to `skin` beyond
/// touching (depths below zero down to -skin), declaring `declared` as its reach (nothing when
/// negative), hashing the arguments of every test it is asked in turn and keeping the corners of
/// every face. Placed in an engine with `engine->collisionDetector<T>() = new SkinDetector<T>(...)`.
/// With `distinct` set, a test asked again since the last `beginStage` with the same arguments
/// is not counted or hashed again.
template <typename T>
class SkinDetector final : public HostObjectOf<ICollisionDetector<T>> {
public:
    SkinDetector(double skin, double declared)
        : m_skin(T(skin)), m_reach(declared >= 0 ? new ContactReach(declared) : nullptr) {}
    ZOR_DELETING_DESTRUCTOR(SkinDetector)
    IObject* castTo(const GUID_t& guid) override {
        if (guid == guids::kCollisionReach)
            return m_reach;
        return this->isTypeOf(guid) ? this : nullptr;
    }

    /// The tests asked so far, and a hash of their arguments in the order asked.
    uint64 askedCount = 0;
    uint64 askedHash = 0xCBF29CE484222325u;
    /// The corners of the faces asked about, in order.
    std::vector<std::array<Vector3<T>, 4>> faces;
    bool distinct = false;

    /// A collision stage begins: with `distinct`, every test counts again once.
    void beginStage() { m_askedInStage.clear(); }

    bool testSphereSphere(const Vector3<T>* c1, const T* r1, const Vector3<T>* c2, const T* r2,
                          Vector3<T>* normal, T* depth) override {
        note(*c1, *r1, *c2, *r2);
        return skinned(collision::sphereSphere(*c1, T(*r1 + m_skin), *c2, *r2, *normal, *depth), depth);
    }
    bool testSphereMesh(const Vector3<T>* centre, const T* radius, IMesh* mesh,
                        const Array<Vector3<T>>* vertices, Vector3<T>* normal, T* depth) override {
        return testCapsuleMesh(centre, centre, radius, mesh, vertices, normal, depth);
    }
    bool testCapsuleCapsule(const Vector3<T>* a1, const Vector3<T>* b1, const T* r1, const Vector3<T>* a2,
                            const Vector3<T>* b2, const T* r2, Vector3<T>* normal, T* depth) override {
        note(*a1, *b1, *r1, *a2, *b2, *r2);
        collision::Contact<T> found;
        const bool contact = collision::capsuleCapsule(*a1, *b1, T(*r1 + m_skin), *a2, *b2, *r2, found);
        if (contact)
            *normal = found.normal, *depth = found.depth;
        return skinned(contact, depth);
    }
    bool testCapsuleQuadrilateral(const Vector3<T>* a, const Vector3<T>* b, const T* radius,
                                  const Vector3<T>* c0, const Vector3<T>* c1, const Vector3<T>* c2,
                                  const Vector3<T>* c3, Vector3<T>* normal, T* depth) override {
        note(*a, *b, *radius, *c0, *c1, *c2, *c3);
        faces.push_back({*c0, *c1, *c2, *c3});
        return skinned(
            collision::capsuleQuadrilateral(*a, *b, T(*radius + m_skin), *c0, *c1, *c2, *c3, *normal, *depth),
            depth);
    }
    bool testCapsuleMesh(const Vector3<T>* a, const Vector3<T>* b, const T* radius, IMesh* mesh,
                         const Array<Vector3<T>>* vertices, Vector3<T>* normal, T* depth) override {
        note(*a, *b, *radius, vertices != nullptr ? vertices->size() : 0);
        if (mesh == nullptr || vertices == nullptr)
            return false;
        const Array<uint32>& triangles = mesh->getTriangleIndices();
        collision::Contact<T> found;
        const bool contact =
            collision::capsuleMesh(*a, *b, T(*radius + m_skin), vertices->data(), vertices->size(),
                                   triangles.data(), triangles.size(), found);
        if (contact)
            *normal = found.normal, *depth = found.depth;
        return skinned(contact, depth);
    }

private:
    ~SkinDetector() {
        if (m_reach != nullptr)
            m_reach->release();
    }
    bool skinned(bool contact, T* depth) const {
        if (contact)
            *depth = *depth - m_skin;
        return contact;
    }
    template <typename... Values>
    void note(const Values&... values) {
        uint64 test = 0xCBF29CE484222325u;
        (append(test, values), ...);
        if (distinct && !m_askedInStage.insert(test).second)
            return;
        ++askedCount;
        (append(askedHash, values), ...);
    }
    template <typename Value>
    static void append(uint64& hash, const Value& value) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(&value);
        for (size_t i = 0; i < sizeof value; ++i)
            hash = (hash ^ bytes[i]) * 0x100000001B3u;
    }

    T m_skin;
    ContactReach* m_reach;
    std::unordered_set<uint64> m_askedInStage;
};

} // namespace zor::test
