// The user data library (userdata): HotSync users and their folders.
#pragma once

#include "hostapi/host_api.h"

KESTRO_HOST_API int16_t UmGetUserCount();
KESTRO_HOST_API int32_t UmGetUserID(int16_t index, uint32_t* user_id);
// 0 or above on success.
KESTRO_HOST_API int32_t UmGetUserDirectory(uint32_t user_id, char* buffer, int16_t* size);
// The HotSync Manager's own folder, where its libraries are.
KESTRO_HOST_API int32_t UmGetRootDirectory(char* buffer, int16_t* size);
