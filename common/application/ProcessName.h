#pragma once

#include "common/containers/String.h"

/// Replaces `out` with the running executable's file name (its path after the last separator).
/// On failure prints the system error on standard error, leaves `out` empty and returns false.
bool zor_getCurrentProcessName(zor::String& out);
