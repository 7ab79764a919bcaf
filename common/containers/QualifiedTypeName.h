#pragma once

#include "common/Types.h"

namespace zor {

/// How an element type is spelled in qualified function names of log lines, the way the
/// framework's own logs spell them ("zor::List<class zor::String>::popBack").
/// Specialise it next to each type that containers log about.
template <typename T>
struct QualifiedTypeName {
    static constexpr const char* value = "T";
};

/// The module name of the log lines a container of T writes: "common" for the foundation's
/// own element types; the physics module specialises it for the types of its classes.
template <typename T>
struct ContainerLogModule {
    static constexpr const char* value = "common";
};

} // namespace zor
