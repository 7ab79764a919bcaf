#include "common/containers/NameTable.h"
