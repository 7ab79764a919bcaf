// A host module for the start-up scenarios: it exports ZOR_SCENARIO_EXPORT, which logs that it
// was called (through the record it is given) and answers ZOR_SCENARIO_RESULT.

#include "common/application/ApplicationData.h"
#include "common/log/Log.h"
#include "common/platform/Export.h"

#define ZOR_SCENARIO_TEXT(name) ZOR_SCENARIO_TEXT_OF(name)
#define ZOR_SCENARIO_TEXT_OF(name) #name

extern "C" ZOR_EXPORT bool ZOR_SCENARIO_EXPORT(zor::ApplicationData* appData) {
    zor::setApplicationData(appData);
    zor_log(ZOR_LOG_MODULE, false, zor::LogLevelInfo, ZOR_SCENARIO_TEXT(ZOR_SCENARIO_EXPORT), "called");
    return ZOR_SCENARIO_RESULT;
}
