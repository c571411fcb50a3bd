// The HotSync API (hsapi): asks the HotSync Manager to reread its conduits.
#pragma once

#include "hostapi/host_api.h"

KESTRO_HOST_API int32_t HsRefreshConduitInfo();
