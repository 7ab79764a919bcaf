#pragma once

#include "common/Types.h"

#include <string>
#include <string_view>

namespace zor::host {

/// How a number text was read.
enum class NumberParse {
    Ok,
    /// Not a number of the kind asked for (letters, a sign on an unsigned number, a fraction).
    Malformed,
    /// A number, but one that the type cannot hold.
    OutOfRange,
    /// "inf" or "nan": the files hold finite numbers only.
    NotFinite,
};

/// The shortest decimal text that reads back as the same float ("0.1", "1e+30").
std::string numberText(float value);
/// The shortest decimal text that reads back as the same double.
std::string numberText(double value);
/// Decimal text of a whole number.
std::string numberText(uint32 value);

/// Reads the whole text (whitespace around it allowed) as a finite number of the type.
NumberParse parseNumber(std::string_view text, float& value);
NumberParse parseNumber(std::string_view text, double& value);
NumberParse parseNumber(std::string_view text, uint32& value);

/// The double that a JSON file carries for a float: it rounds back to `value` exactly, and it
/// prints as the float's own shortest digits whenever those round back through a double.
double jsonDoubleForFloat(float value);

} // namespace zor::host
