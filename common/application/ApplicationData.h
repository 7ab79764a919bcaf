#pragma once

namespace zor {

class ApplicationData;

/// The host record this binary works with: null until the host hands one over.
ApplicationData* applicationData();

/// Makes `record` the binary's one global host record (no ownership change).
void setApplicationData(ApplicationData* record);

} // namespace zor
