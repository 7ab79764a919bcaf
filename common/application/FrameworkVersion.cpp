#include "common/application/FrameworkVersion.h"

namespace zor {

void formatFrameworkVersion(uint64 version, String& out) {
    out.format("%u.%u.%u", frameworkVersionMajor(version), frameworkVersionMinor(version),
               frameworkVersionPatch(version));
}

} // namespace zor
