#include "platform/profile_string.h"

#include "platform/win32/compat.h"

// <windows.h> maps these names to its own win.ini functions; ours must keep
// their names.
#undef GetProfileString
#undef WriteProfileString

namespace kestro::platform {

std::string GetProfileString(const std::string& file, const std::string& section,
                             const std::string& key, const std::string& fallback) {
  char buffer[kProfileValueMax + 1] = {};
  DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(), buffer,
                                     sizeof buffer, file.c_str());
  return std::string(buffer, n);
}

bool WriteProfileString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& value) {
  return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != 0;
}

}  // namespace kestro::platform
