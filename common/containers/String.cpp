#include "common/containers/String.h"
