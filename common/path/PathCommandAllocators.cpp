#include "common/application/CommonModule.h"
#include "common/path/Path2DCommands.h"

namespace zor {

namespace {

template <typename Command>
RefCountedData* allocate() {
    return new Command();
}

template <typename Command>
void registerAllocator() {
    zor_addUnknownVariableAllocator(Command().getTypeName(), &allocate<Command>);
}

template <template <typename> class Command>
void registerFloatAndDouble() {
    registerAllocator<Command<float>>();
    registerAllocator<Command<double>>();
}

} // namespace

void registerPathCommandAllocators() {
    registerFloatAndDouble<Path2DCommand>();
    registerFloatAndDouble<MoveToPath2DCommand>();
    registerFloatAndDouble<LineToPath2DCommand>();
    registerFloatAndDouble<CurveToPath2DCommand>();
    registerFloatAndDouble<SmoothPath2DCommand>();
    registerFloatAndDouble<QuadCurveToPath2DCommand>();
    registerFloatAndDouble<QuadSmoothPath2DCommand>();
    registerFloatAndDouble<ArcPath2DCommand>();
    registerFloatAndDouble<ClosePath2DCommand>();
}

} // namespace zor
