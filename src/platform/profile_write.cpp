// Writing profile strings, the same on every platform: the new text is made
// in memory by the profile rules and replaces the file in one step. (The
// Windows profile functions write in place, one key at a time, so a process
// stopped between two keys would leave a shortcut without its address.)
#include "platform/file_system.h"
#include "platform/profile_string.h"
#include "platform/profile_text.h"

namespace kestro::platform {

bool WriteProfileStrings(const std::string& file, const std::vector<ProfileValue>& values) {
  std::string text;
  if (FileExists(file)) {
    if (!ReadWholeFile(file, text)) return false;
  } else if (PathExists(file)) {
    return false;  // a folder or something else of that name
  }
  for (const ProfileValue& v : values) text = WriteProfileValue(text, v.section, v.key, v.value);
  return WriteFileAtomically(file, text);
}

bool WriteProfileString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& value) {
  return WriteProfileStrings(file, {{section, key, value}});
}

}  // namespace kestro::platform
