#include "favorites/internet_shortcut.h"

#include "base/exception.h"
#include "base/text.h"
#include "platform/profile_string.h"

namespace kestro {

std::string ReadShortcutURL(const std::string& file) {
  return platform::GetProfileString(file, "InternetShortcut", "URL", "");
}

void WriteShortcut(const std::string& file, const std::string& url) {
  if (!platform::WriteProfileString(file, "DEFAULT", "BASEURL", url) ||
      !platform::WriteProfileString(file, "InternetShortcut", "URL", url)) {
    throw Exception(Format("Unable to write to %s", file.c_str()));
  }
}

}  // namespace kestro
