#pragma once

#include "common/variables/Matrix.h"

namespace zor {

/// Inverts `m` in place (the transposed cofactor matrix divided by the determinant). A singular
/// matrix (determinant exactly 0) is left unchanged and the result is false.
template <typename T>
bool inverse(Matrix4x4<T>& m);

} // namespace zor
