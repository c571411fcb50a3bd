#include "platform/profile_string.h"

#include "platform/win32/compat.h"

// <windows.h> maps this name to its own win.ini function; ours must keep it.
#undef GetProfileString

namespace kestro::platform {

std::string GetProfileString(const std::string& file, const std::string& section,
                             const std::string& key, const std::string& fallback) {
  char buffer[kProfileValueMax + 1] = {};
  DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(), buffer,
                                     sizeof buffer, file.c_str());
  return std::string(buffer, n);
}

}  // namespace kestro::platform
