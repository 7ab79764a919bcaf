#pragma once

#include "host/scene3d/Scene3D.h"
#include "host/simulate/ContactPoint.h"
#include "host/simulate/StepContacts.h"
#include "host/simulate/Trajectory.h"
#include "physics/engine3d/ICollisionReport.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace zor::host {

/// Turns the contacts the engine reports through its collision callbacks, or lists, into records: the two
/// elements by their number in the run's names (a rigid body's is its index, the others are
/// named once, as they are first met), the normal from the first towards the second, the depth,
/// and a point between the two shapes. A listed step's records are made as they are read (the
/// parties named at once, the points found only then), from the engine's list, which must stay
/// as it is until the next step recorded in full (ICollisionReport::setContactListKept).
template <typename T>
class ContactRecorder final : public StepContacts {
public:
    /// `bodies`: the scene's rigid bodies, named in the records by `names`; both must outlive
    /// the recorder.
    ContactRecorder(const std::vector<Element3D<T>*>& bodies, const std::vector<std::string>& names);

    /// Forgets the contacts recorded, before a step recorded in full; `expected` is about how
    /// many it will have.
    void clear(uint64 expected);
    /// Notes where the bodies are as the collision stage starts: the shapes are placed from the
    /// world matrices of that moment, moved as the passes push their bodies.
    void beforeCollisions();
    /// A contact between two elements, with the normal from the first towards the second.
    void pair(IElement* body1, IElement* element1, IElement* body2, IElement* element2,
              const Vector3<T>& normal, T depth);
    /// A contact between an element and a grid stage's face, with the normal from the face
    /// towards the element, as the engine's grid-stage callback gives them.
    void face(IElement* body, IElement* element, IObject* stage, uint32 cell, uint32 faceKind, uint32 segment,
              const Vector3<T>& normal, T depth);
    /// The contacts a collision stage listed, in their order: their parties are named now, and
    /// what the points need of host objects that later steps change is read now.
    void listed(const ListedContact<T>* contacts, uint64 count);

    std::size_t size() const override;
    void entries(std::size_t first, std::size_t count, std::vector<ContactEntry>& records) const override;
    /// The names of the parties that are not rigid bodies, numbered after the bodies.
    const std::vector<std::string>& otherNames() const { return m_otherNames; }

private:
    /// An element's shape where it is now: round (sphere or capsule) or only its centre.
    struct Placed {
        bool round;
        RoundShape shape;
        Point3 centre;
    };
    /// The points of an element's shape that place it (its centre, a capsule's ends and a
    /// point of its rim) as the world matrices of the stage put them, before the passes move it.
    struct Unmoved {
        ElementKind kind;
        Point3 centre, a, b, rim;
    };
    static constexpr std::size_t kNoBody = SIZE_MAX;

    /// What is kept of a body's Unmoved: a capsule's ends are kept apart, in m_capsuleEnds.
    struct Noted {
        ElementKind kind;
        uint32 ends;
        Point3 centre, rim;
    };

    static Unmoved unmoved(Element3D<T>& shaped);

    /// A contact's record with its parties named (`at1`, `at2`: where the bodies stand, or null
    /// for where their transform records say).
    ContactEntry pairEntry(IElement* body1, IElement* element1, IElement* body2, IElement* element2,
                           const Vector3<T>& normal, T depth, const Vector3<T>* at1, const Vector3<T>* at2);
    ContactEntry faceEntry(IElement* body, IElement* element, IObject* stage, uint32 cell, uint32 faceKind,
                           uint32 segment, const Vector3<T>& normal, T depth, const Vector3<T>* at);
    /// The normal and point of those records, their parties left unnamed.
    ContactEntry pairPoint(std::size_t index1, IElement* body1, IElement* element1, std::size_t index2,
                           IElement* body2, IElement* element2, const Vector3<T>& normal, T depth,
                           const Vector3<T>* at1, const Vector3<T>* at2) const;
    ContactEntry facePoint(std::size_t index, IElement* body, IElement* element, IObject* stage, uint32 cell,
                           uint32 faceKind, uint32 segment, const Vector3<T>& normal, T depth,
                           const Vector3<T>* at) const;

    std::size_t indexOf(IElement* body) const;
    /// indexOf without keeping the body found, for any thread.
    std::size_t bodyIndex(const IElement* body) const;
    /// The entry of m_byAddress for the element's address; SIZE_MAX beyond every run.
    std::size_t entryOf(const IElement* element) const;
    Placed place(std::size_t index, IElement* body, IElement* element, const Vector3<T>* at) const;
    uint32 nameOf(std::size_t index, IElement* element);
    uint32 faceName(IObject* stage, uint32 cell, uint32 faceKind, uint32 segment);
    uint32 otherName(std::string name);

    const std::vector<Element3D<T>*>& m_bodies;
    const std::vector<std::string>& m_names;
    /// The bodies' indices by address, in steps of 2^m_shift bytes (no two bodies in one), in
    /// runs of bodies lying close together: bodies made one after another lie in the heap in
    /// their order, and a recorded step of a pile of 100,000 looks up two bodies for each of a
    /// million contacts, most of them near the bodies looked up before (a table by hash costs
    /// a cache miss a look-up). The body last found is kept: the engine reports the contacts of
    /// one body after another.
    struct AddressRun {
        std::uintptr_t first, last;
        std::size_t offset;
    };
    static constexpr uint32 kNoEntry = UINT32_MAX;
    /// A run ends where the next body lies more steps away.
    static constexpr std::uintptr_t kMostStepsBetween = 64;
    std::vector<AddressRun> m_runs;
    std::vector<uint32> m_byAddress;
    unsigned m_shift = 0;
    mutable std::pair<const IElement*, std::size_t> m_last{nullptr, kNoBody};
    std::vector<Vector3<T>> m_before;
    /// Each body's points as the stage began: a pile's bodies touch in ten places a step.
    std::vector<Noted> m_unmoved;
    std::vector<std::array<Point3, 2>> m_capsuleEnds;
    /// The contacts the callbacks gave, as records.
    std::vector<ContactEntry> m_contacts;
    /// The listed contacts, and each one's second party by number (the first is its body); a
    /// contact whose point needs host objects beyond its bodies' points (a child element, a
    /// capsule on a face, an element that is not a rigid body) is made into a record at once,
    /// the one of m_madeAtOnce that its number less kMadeAtOnce tells.
    const ListedContact<T>* m_listed = nullptr;
    uint64 m_listedCount = 0;
    std::vector<uint32> m_seconds;
    std::vector<ContactEntry> m_madeAtOnce;
    static constexpr uint32 kMadeAtOnce = 0x80000000u;
    std::vector<std::string> m_otherNames;
    /// The numbers of the names given so far: of the faces, by stage, cell, kind and segment (a
    /// pile meets the same floor cells step after step), and of elements that are not bodies.
    std::map<std::tuple<const IObject*, uint32, uint32, uint32>, uint32> m_faceNames;
    std::map<const IElement*, uint32> m_elementNames;
};

extern template class ContactRecorder<float>;
extern template class ContactRecorder<double>;

} // namespace zor::host
