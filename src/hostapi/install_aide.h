// The install aide (instaide): queues a file for the user's handheld.
#pragma once

#include "hostapi/host_api.h"

KESTRO_HOST_API int32_t PltInstallFile(const char* user_name, const char* file_path);
