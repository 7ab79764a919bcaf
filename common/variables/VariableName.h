#pragma once

#include "common/containers/String.h"

/// The name String of a variable at this call site: built once per process on first use (the
/// initialisation is thread-safe) and kept until the process ends, so that reading and writing
/// a variable allocates nothing.
#define ZOR_VARIABLE_NAME(text)                                                                              \
    ([]() -> const ::zor::String& {                                                                          \
        static const ::zor::String variableName(text);                                                       \
        return variableName;                                                                                 \
    }())
