#include "host/path/PathStep.h"

namespace zor::host {

int pointCount(PathStep::Kind kind) {
    switch (kind) {
    case PathStep::Kind::CurveTo:
        return 3;
    case PathStep::Kind::Smooth:
    case PathStep::Kind::QuadCurveTo:
        return 2;
    case PathStep::Kind::Close:
        return 0;
    default:
        return 1;
    }
}

} // namespace zor::host
