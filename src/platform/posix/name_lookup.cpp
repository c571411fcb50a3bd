#include "platform/name_lookup.h"

#include <dirent.h>

#include "base/text.h"
#include "platform/file_system.h"

namespace kestro::platform {

// Names only: no entry is looked at more closely, and none sorted. Entries
// that fold equal are listed by their bytes, so the first in listing order
// is the least of them.
std::string ExistingNameCaseBlind(const std::string& folder, const std::string& name) {
  if (PathExists(folder + "/" + name)) return name;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return name;
  std::string found;
  bool any = false;
  while (const dirent* e = ::readdir(dir)) {
    const std::string_view entry = e->d_name;
    if (entry == "." || entry == ".." || !SameTextAscii(entry, name)) continue;
    if (!any || entry < found) found = entry;
    any = true;
  }
  ::closedir(dir);
  return any ? found : name;
}

}  // namespace kestro::platform
