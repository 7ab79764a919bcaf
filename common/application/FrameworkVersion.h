#pragma once

#include "common/containers/String.h"

namespace zor {

/// A packed framework version from its fields: major in bits 40-63 (24 bits), minor in bits
/// 16-39 (24 bits), patch in bits 0-15. Each field is cut to its width.
constexpr uint64 makeFrameworkVersion(uint64 major, uint64 minor, uint64 patch) {
    return ((major & 0xFFFFFFu) << 40) | ((minor & 0xFFFFFFu) << 16) | (patch & 0xFFFFu);
}

constexpr uint32 frameworkVersionMajor(uint64 version) {
    return static_cast<uint32>(version >> 40);
}

constexpr uint32 frameworkVersionMinor(uint64 version) {
    return static_cast<uint32>((version >> 16) & 0xFFFFFFu);
}

constexpr uint32 frameworkVersionPatch(uint64 version) {
    return static_cast<uint32>(version & 0xFFFFu);
}

/// Replaces `out` with the version text "major.minor.patch".
void formatFrameworkVersion(uint64 version, String& out);

} // namespace zor
