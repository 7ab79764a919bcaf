#pragma once

#include "common/containers/Array.h"
#include "physics/engine3d/collision/PrimitiveRecord.h"

namespace zor {

class IScene3D;
template <typename T>
class BodyCopies;
template <typename T>
class PrimitiveBounds;

/// Fills `records` with one record per unfolded entry of the scene's view, in the view's order:
/// active for the entries that collide (a sphere, capsule or mesh with a collision attribute and
/// a body), inactive for the others. Each active record holds a reference to its body and owns
/// its mesh's vertices until releasePrimitives. `records` must hold none. `bodyParents` gets
/// per record its body's parent 3D element (getAncestor(1)) for an active record, with a
/// reference the caller releases, else null: asked for while the body's memory is at hand.
/// `shapes` gets per record the shape data of an active sphere or capsule, else null. When
/// `copies` is given, its copies of the bodies are begun and made record by record, for
/// BodyCopies::finish.
template <typename T>
void readScenePrimitives(IScene3D& scene, Array<PhysicsCollisionPrimitive3D<T>>& records,
                         Array<IElement*>& bodyParents, Array<const void*>& shapes, BodyCopies<T>* copies);

/// Brings records that readScenePrimitives filled from the scene at the generation it still
/// declares up to date: their geometry from the view's world matrices (with the `shapes` the
/// reading found) and, record by record, `copies` of the bodies, for BodyCopies::finish, and
/// their `bounds`, begun by the caller. False, with the records to be read again, when the view
/// no longer matches them (another number of entries, a mesh that lost its vertices).
template <typename T>
bool refreshScenePrimitives(IScene3D& scene, Array<PhysicsCollisionPrimitive3D<T>>& records,
                            const Array<const void*>& shapes, BodyCopies<T>& copies,
                            PrimitiveBounds<T>& bounds);

/// Releases the bodies when `heldBodies` (the records hold references on them), frees the
/// vertices the records hold, and empties them.
template <typename T>
void releasePrimitives(Array<PhysicsCollisionPrimitive3D<T>>& records, bool heldBodies);

/// Releases the references the records hold on their bodies; the records stay.
template <typename T>
void releaseBodies(const Array<PhysicsCollisionPrimitive3D<T>>& records);

} // namespace zor
