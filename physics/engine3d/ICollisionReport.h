#pragma once

#include "common/object/WObject.h"
#include "common/variables/Vector.h"

#include <cstddef>

namespace zor {

namespace guids {
/// What the 3D engine's last collision stages saw (ICollisionReport), asked of the engine through
/// castTo. The module's own interface: it lives with it rather than in the host's table.
inline constexpr GUID_t kCollisionReport{"de65b212-2ee3-497b-9348-28a77390dce8"};
} // namespace guids

class IElement;

/// A contact of a collision stage that lists its contacts (ICollisionReport::setContactListing):
/// what the collision callback of its kind would have been given, and where the bodies' transform
/// records stood when the detector reported it, with the passes' pushes before it.
template <typename T>
struct ListedContact {
    /// The first party's body and element; a face's contact has the body's here.
    IElement* body1;
    IElement* element1;
    /// The second party's body and element; null for a face.
    IElement* body2;
    IElement* element2;
    /// A face's grid stage (null for a pair), cell index, face kind and segment kind.
    IObject* gridStage;
    uint32 cell;
    uint32 faceKind;
    uint32 segment;
    /// From the first party towards the second; from the face towards the body for a face.
    Vector3<T> normal;
    T depth;
    /// The position of body1's and of body2's transform record at that moment (0 for a face's
    /// second, and for a body without a transform record).
    Vector3<T> position1;
    Vector3<T> position2;
};
static_assert(sizeof(ListedContact<float>) == 96 && offsetof(ListedContact<float>, normal) == 52 &&
              offsetof(ListedContact<float>, position2) == 80);
static_assert(sizeof(ListedContact<double>) == 136 && offsetof(ListedContact<double>, normal) == 56 &&
              offsetof(ListedContact<double>, position2) == 112);

/// What a PhysicsEngine3D's last collision stage of each number type saw, found through the
/// engine's castTo with guids::kCollisionReport and owned by the engine. A contact is one its
/// detector reported: a pair of primitives after the exclusion test, or a grid-stage face within
/// reach and not excluded; each is one a collision callback, when set, is asked about. The counts
/// are the same with callbacks and without.
class ICollisionReport : public WObject {
public:
    /// Slot 42: the contacts of the last collision stage on a float scene (0 before any).
    virtual uint64 getContactCountFloat() const = 0;
    /// Slot 43: the deepest depth among them; 0 when none is deeper than 0.
    virtual float getDeepestContactFloat() const = 0;
    /// Slot 44: the contacts of the last collision stage on a double scene (0 before any).
    virtual uint64 getContactCountDouble() const = 0;
    /// Slot 45: the deepest depth among them; 0 when none is deeper than 0.
    virtual double getDeepestContactDouble() const = 0;
    /// Slot 46: whether the collision stages from the next one on list their contacts (off at
    /// first). A listed stage works as an unlisted one does; listing asks for memory of its own.
    virtual void setContactListing(bool listing) = 0;
    /// Slot 47: the contacts the last collision stage on a float scene listed, in the order the
    /// callbacks would have been asked about them (0 when it listed none).
    virtual uint64 getListedContactCountFloat() const = 0;
    /// Slot 48: the first of them, valid until the next collision stage on a float scene; null
    /// when there are none.
    virtual const ListedContact<float>* getListedContactsFloat() const = 0;
    /// Slot 49: as slot 47 for a double scene.
    virtual uint64 getListedContactCountDouble() const = 0;
    /// Slot 50: as slot 48 for a double scene.
    virtual const ListedContact<double>* getListedContactsDouble() const = 0;
    /// Slot 51: whether a collision stage that does not list leaves the contacts the last listed
    /// stage listed (off at first): slots 47 to 50 then give them until the next listed stage of
    /// their number type, and no stage in between touches them, so that a host may read them on
    /// another thread while the next steps run.
    virtual void setContactListKept(bool kept) = 0;

protected:
    ICollisionReport() = default;
    ~ICollisionReport() = default;
};

} // namespace zor
