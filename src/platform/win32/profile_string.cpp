#include "platform/profile_string.h"

#include "platform/file_system.h"
#include "platform/profile_text.h"
#include "platform/win32/compat.h"
#include "platform/win32/long_path.h"

// <windows.h> maps this name to its own win.ini function; ours must keep it.
#undef GetProfileString

namespace kestro::platform {

std::string GetProfileString(const std::string& file, const std::string& section,
                             const std::string& key, const std::string& fallback) {
  // The profile functions take no path of MAX_PATH or more; such a file is
  // read by the same rules here.
  if (IsLongPath(file)) {
    std::string text;
    std::string value;
    if (!ReadWholeFile(file, text) || !ReadProfileValue(text, section, key, value)) {
      return fallback.substr(0, kProfileValueMax);
    }
    return value;
  }
  char buffer[kProfileValueMax + 1] = {};
  DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(), buffer,
                                     sizeof buffer, file.c_str());
  return std::string(buffer, n);
}

}  // namespace kestro::platform
