// First stand-in Conduit Manager: answers every call with success.
#include "hostapi/conduit_manager.h"

#include <cstring>

KESTRO_HOST_API int32_t CmInstallCreator(const char*, int32_t) { return 0; }
KESTRO_HOST_API int32_t CmSetCreatorName(const char*, const char*) { return 0; }
KESTRO_HOST_API int32_t CmSetCreatorTitle(const char*, const char*) { return 0; }
KESTRO_HOST_API int32_t CmSetCreatorDirectory(const char*, const char*) { return 0; }
KESTRO_HOST_API int32_t CmSetCreatorFile(const char*, const char*) { return 0; }
KESTRO_HOST_API int32_t CmSetCreatorRemote(const char*, const char*) { return 0; }
KESTRO_HOST_API int32_t CmSetCreatorInfo(const char*, const char*) { return 0; }
KESTRO_HOST_API int32_t CmSetCreatorPriority(const char*, int32_t) { return 0; }
KESTRO_HOST_API int32_t CmRemoveConduitByCreatorID(const char*) { return 1; }
KESTRO_HOST_API int32_t CmGetCorePath(char* buffer, int32_t* size) {
  if (!buffer || !size || *size < 1) return -1006;
  buffer[0] = '\0';
  return 0;
}
KESTRO_HOST_API int32_t CmGetCreatorDirectory(const char*, char* buffer, int32_t* size) {
  if (!buffer || !size || *size < 1) return -1006;
  buffer[0] = '\0';
  return -1003;
}
