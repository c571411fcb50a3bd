// The HotSync log (hslog20): one log per user and HotSync.
#pragma once

#include "hostapi/host_api.h"

namespace kestro::hostapi {
// Activities the conduit writes.
constexpr int32_t kActivityText = -1;
constexpr int32_t kActivitySyncStarted = 19;
constexpr int32_t kActivitySyncFinished = 20;
constexpr int32_t kActivitySyncAborted = 21;
}  // namespace kestro::hostapi

KESTRO_HOST_API int32_t LogAddEntry(const char* text, int32_t activity, int32_t timestamp);
