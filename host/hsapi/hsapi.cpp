// First stand-in HotSync API.
#include "hostapi/hotsync_api.h"

KESTRO_HOST_API int32_t HsRefreshConduitInfo() { return 0; }
