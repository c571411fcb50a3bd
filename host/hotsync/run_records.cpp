#include "run_records.h"

#include <algorithm>

#include "platform/file_system.h"
#include "platform/process_paths.h"

namespace kestro::hotsync {

std::vector<RunRecord> RunRecords(const host::HotSyncUser& user, bool backups) {
  const std::string sep(1, platform::PathSeparator());
  std::string folder = host::UserFolder(user);
  if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') folder += sep;
  std::vector<RunRecord> records;
  std::vector<platform::DirectoryEntry> conduits;
  if (!platform::ListDirectory(folder, conduits)) return records;
  for (const auto& conduit : conduits) {
    if (!conduit.is_directory) continue;
    const std::string place = folder + conduit.name + sep + (backups ? "Backups" : "Runs");
    std::vector<platform::DirectoryEntry> entries;
    if (!platform::ListDirectory(place, entries)) continue;
    for (const auto& e : entries) {
      if (e.is_directory != backups || e.name.empty() || e.name[0] < '0' || e.name[0] > '9') continue;
      std::string id = e.name;
      if (!backups) {
        if (id.size() < 4 || id.substr(id.size() - 4) != ".txt") continue;
        id.resize(id.size() - 4);
      }
      records.push_back({id, place + sep + e.name});
    }
  }
  std::sort(records.begin(), records.end(), [](const RunRecord& a, const RunRecord& b) { return a.id < b.id; });
  return records;
}

}  // namespace kestro::hotsync
