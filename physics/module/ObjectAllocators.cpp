#include "physics/module/ObjectAllocators.h"

#include "common/object/ObjectFactory.h"
#include "physics/attributes/Collision3DAttribute.h"
#include "physics/attributes/HitTestAttribute.h"
#include "physics/attributes/RigidBody3DAttribute.h"
#include "physics/engine3d/PhysicsEngine3D.h"
#include "physics/hittest/PhysicsEngine2D.h"
#include "physics/hittest/TesterEngine.h"

namespace zor {

// Each class adds its zor_addObjectAllocator line here, in the order above, as it is built.
void registerObjectAllocators() {
    zor_addObjectAllocator<HitTestAttribute>();
    zor_addObjectAllocator<Collision3DAttribute<float>>();
    zor_addObjectAllocator<Collision3DAttribute<double>>();
    zor_addObjectAllocator<RigidBody3DAttribute<float>>();
    zor_addObjectAllocator<RigidBody3DAttribute<double>>();
    zor_addObjectAllocator<TesterEngine>();
    zor_addObjectAllocator<PhysicsEngine2D>();
    zor_addObjectAllocator<PhysicsEngine3D>();
}

} // namespace zor
