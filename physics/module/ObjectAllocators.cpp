#include "physics/module/ObjectAllocators.h"

namespace zor {

// Each class adds its zor_addObjectAllocator line here, in the order above, as it is built.
void registerObjectAllocators() {}

} // namespace zor
