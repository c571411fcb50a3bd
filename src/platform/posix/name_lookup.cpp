#include "platform/name_lookup.h"

#include <vector>

#include "base/text.h"
#include "platform/file_system.h"

namespace kestro::platform {

std::string ExistingNameCaseBlind(const std::string& folder, const std::string& name) {
  if (PathExists(folder + "/" + name)) return name;
  std::vector<DirectoryEntry> entries;
  if (!ListDirectory(folder, entries)) return name;
  for (const DirectoryEntry& entry : entries) {
    if (SameTextAscii(entry.name, name)) return entry.name;
  }
  return name;
}

}  // namespace kestro::platform
