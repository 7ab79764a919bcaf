#include "common/containers/HashMap.h"
