#include "common/application/ApplicationData.h"

namespace zor {
namespace {

ApplicationData* g_applicationData = nullptr;

} // namespace

ApplicationData* applicationData() {
    return g_applicationData;
}

void setApplicationData(ApplicationData* record) {
    g_applicationData = record;
}

} // namespace zor
