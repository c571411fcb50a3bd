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

bool WriteProfileString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& value) {
  std::string text;
  if (FileExists(file)) {
    if (!ReadWholeFile(file, text)) return false;
  } else if (PathExists(file)) {
    return false;  // a folder or something else of that name
  }
  return WriteFileAtomically(file, WriteProfileValue(text, section, key, value));
}

}  // namespace kestro::platform
