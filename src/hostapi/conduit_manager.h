// The Conduit Manager (condmgr): conduit registrations per creator ID.
#pragma once

#include "hostapi/host_api.h"

namespace kestro::hostapi {
constexpr int32_t kConduitTypeApplication = 1;  // the type CmInstallCreator is given
constexpr int32_t kCmErrCreatorNotFound = -1003;  // "The specified conduit does not exist."
}  // namespace kestro::hostapi

KESTRO_HOST_API int32_t CmInstallCreator(const char* creator, int32_t conduit_type);
KESTRO_HOST_API int32_t CmSetCreatorName(const char* creator, const char* library_path);
KESTRO_HOST_API int32_t CmSetCreatorTitle(const char* creator, const char* title);
KESTRO_HOST_API int32_t CmSetCreatorDirectory(const char* creator, const char* directory);
KESTRO_HOST_API int32_t CmSetCreatorFile(const char* creator, const char* file);
KESTRO_HOST_API int32_t CmSetCreatorRemote(const char* creator, const char* remote_database);
KESTRO_HOST_API int32_t CmSetCreatorInfo(const char* creator, const char* information);
KESTRO_HOST_API int32_t CmSetCreatorPriority(const char* creator, int32_t priority);
// Above 0 when the conduit was removed.
KESTRO_HOST_API int32_t CmRemoveConduitByCreatorID(const char* creator);
KESTRO_HOST_API int32_t CmGetCorePath(char* buffer, int32_t* size);
KESTRO_HOST_API int32_t CmGetCreatorDirectory(const char* creator, char* buffer, int32_t* size);
