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

FolderNames::Listing& FolderNames::Of(const std::string& folder) {
  auto [at, fresh] = folders_.try_emplace(folder);
  Listing& listing = at->second;
  if (!fresh) return listing;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return listing;
  listing.there = true;
  while (const dirent* e = ::readdir(dir)) {
    const std::string_view entry = e->d_name;
    if (entry == "." || entry == "..") continue;
    bool is_file = e->d_type == DT_REG;
    if (e->d_type == DT_LNK || e->d_type == DT_UNKNOWN) is_file = FileExists(folder + "/" + std::string(entry));
    listing.names[AsciiUpper(entry)].emplace(entry, is_file);
  }
  ::closedir(dir);
  return listing;
}

std::string FolderNames::ExistingNameCaseBlind(const std::string& folder, const std::string& name) {
  const Listing& listing = Of(folder);
  auto found = listing.names.find(AsciiUpper(name));
  if (found == listing.names.end() || found->second.count(name)) return name;
  return found->second.begin()->first;
}

bool FolderNames::HoldsFile(const std::string& folder, const std::string& name) {
  const Listing& listing = Of(folder);
  auto found = listing.names.find(AsciiUpper(name));
  if (found == listing.names.end()) return false;
  auto entry = found->second.find(name);
  return entry != found->second.end() && entry->second;
}

bool FolderNames::IsThere(const std::string& folder) { return Of(folder).there; }

void FolderNames::Added(const std::string& folder, const std::string& name, bool is_file) {
  auto at = folders_.find(folder);
  if (at != folders_.end()) at->second.names[AsciiUpper(name)][name] = is_file;
}

void FolderNames::Removed(const std::string& folder, const std::string& name) {
  auto at = folders_.find(folder);
  if (at == folders_.end()) return;
  auto found = at->second.names.find(AsciiUpper(name));
  if (found == at->second.names.end()) return;
  found->second.erase(name);
  if (found->second.empty()) at->second.names.erase(found);
}

void FolderNames::Made(const std::string& folder) {
  Listing& listing = folders_[folder];
  if (!listing.there) listing = Listing{true, {}};
}

}  // namespace kestro::platform
