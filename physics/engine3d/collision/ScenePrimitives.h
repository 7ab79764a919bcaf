#pragma once

#include "common/containers/Array.h"
#include "physics/engine3d/collision/PrimitiveRecord.h"

namespace zor {

class IScene3D;
template <typename T>
class BodyCopies;

/// Fills `records` with one record per unfolded entry of the scene's view, in the view's order:
/// active for the entries that collide (a sphere, capsule or mesh with a collision attribute and
/// a body), inactive for the others. Each active record holds a reference to its body and owns
/// its mesh's vertices until releasePrimitives. `records` must hold none. `bodyParents` gets
/// per record its body's parent 3D element (getAncestor(1)) for an active record, with a
/// reference the caller releases, else null: asked for while the body's memory is at hand.
/// When `copies` is given, its copies of the bodies are begun and made record by record, for
/// BodyCopies::finish.
template <typename T>
void readScenePrimitives(IScene3D& scene, Array<PhysicsCollisionPrimitive3D<T>>& records,
                         Array<IElement*>& bodyParents, BodyCopies<T>* copies);

/// Releases the bodies and frees the vertices the records hold, and empties them.
template <typename T>
void releasePrimitives(Array<PhysicsCollisionPrimitive3D<T>>& records);

} // namespace zor
