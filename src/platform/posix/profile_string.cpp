#include "platform/profile_string.h"

#include "platform/file_system.h"
#include "platform/profile_text.h"

namespace kestro::platform {

std::string GetProfileString(const std::string& file, const std::string& section,
                             const std::string& key, const std::string& fallback) {
  std::string text;
  std::string value;
  if (!ReadWholeFile(file, text) || !ReadProfileValue(text, section, key, value)) {
    return fallback.substr(0, kProfileValueMax);
  }
  return value;
}

}  // namespace kestro::platform
