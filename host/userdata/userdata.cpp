// First stand-in user data library: no users; the root folder is the folder of
// this library, where the other host libraries are.
#include "hostapi/user_data.h"

#include <cstring>
#include <string>

#include "platform/process_paths.h"

KESTRO_HOST_API int16_t UmGetUserCount() { return 0; }
KESTRO_HOST_API int32_t UmGetUserID(int16_t, uint32_t*) { return -507; }
KESTRO_HOST_API int32_t UmGetUserDirectory(uint32_t, char*, int16_t*) { return -504; }
KESTRO_HOST_API int32_t UmGetRootDirectory(char* buffer, int16_t* size) {
  if (!buffer || !size || *size < 1) return -506;
  std::string folder = kestro::platform::FolderOf(kestro::platform::OwnModuleFile());
  std::size_t n = folder.size() < static_cast<std::size_t>(*size - 1) ? folder.size() : static_cast<std::size_t>(*size - 1);
  std::memcpy(buffer, folder.data(), n);
  buffer[n] = '\0';
  return 0;
}
