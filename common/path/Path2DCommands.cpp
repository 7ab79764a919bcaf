#include "common/path/Path2DCommands.h"

namespace zor {

#define ZOR_PATH2D_COMMAND(Class) template class Class;
ZOR_PATH2D_COMMANDS(ZOR_PATH2D_COMMAND, float)
ZOR_PATH2D_COMMANDS(ZOR_PATH2D_COMMAND, double)
#undef ZOR_PATH2D_COMMAND

} // namespace zor
