#pragma once

#include "common/Types.h"

namespace zor {

class String;

/// Maps the names of an enumeration to their byte values and back. With `toValue` true it looks
/// `name` up and stores its value; with `toValue` false it looks `value` up and assigns its name.
/// False when the name or the value is not one of the enumeration's.
using EnumerationConverter = bool (*)(String& name, uint8& value, bool toValue);

} // namespace zor
