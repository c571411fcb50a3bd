#include "favorites/internet_shortcut.h"

#include "base/exception.h"
#include "base/text.h"
#include "platform/file_system.h"
#include "platform/profile_string.h"
#include "platform/profile_text.h"

namespace kestro {

std::string ReadShortcutURL(const std::string& file) {
  return platform::GetProfileString(file, "InternetShortcut", "URL", "");
}

void WriteShortcut(const std::string& file, const std::string& url) {
  // Both keys in one replacement: a file is never left without its address.
  if (!platform::WriteProfileStrings(
          file, {{"DEFAULT", "BASEURL", url}, {"InternetShortcut", "URL", url}})) {
    throw Exception(Format("Unable to write to %s", file.c_str()));
  }
}

namespace {

std::string ShortcutText(const std::string& url) {
  return platform::WriteProfileValue(platform::WriteProfileValue("", "DEFAULT", "BASEURL", url), "InternetShortcut",
                                     "URL", url);
}

}  // namespace

void ReplaceShortcut(const std::string& file, const std::string& url) {
  if (!platform::WriteFileAtomically(file, ShortcutText(url))) {
    throw Exception(Format("Unable to write to %s", file.c_str()));
  }
}

bool WriteNewShortcut(const std::string& file, const std::string& url) {
  const platform::NewFile written = platform::WriteNewFile(file, ShortcutText(url));
  if (written == platform::NewFile::kFailed) throw Exception(Format("Unable to write to %s", file.c_str()));
  return written == platform::NewFile::kWritten;
}

}  // namespace kestro
