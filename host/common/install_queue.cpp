#include "install_queue.h"

#include "base/text.h"
#include "host_paths.h"
#include "platform/file_system.h"

namespace kestro::host {

std::string InstallFolder(const HotSyncUser& user) { return WithSeparator(UserFolder(user) + "Install"); }

int32_t QueueInstall(const HotSyncUser& user, const std::string& file_path) {
  if (!platform::FileExists(file_path)) return -554;
  std::string name = file_path.substr(file_path.find_last_of("/\\") + 1);
  std::string upper = AsciiUpper(name);
  if (!EndsWith(upper, ".PDB") && !EndsWith(upper, ".PRC") && !EndsWith(upper, ".PQA")) return -553;
  std::string folder = InstallFolder(user);
  if (!platform::DirectoryExists(folder) && !platform::CreateDirectories(folder)) return -552;
  std::string contents;
  if (!platform::ReadWholeFile(file_path, contents)) return -555;
  return platform::WriteFileAtomically(folder + name, contents) ? 0 : -555;
}

std::vector<std::string> QueuedInstalls(const HotSyncUser& user) {
  std::vector<std::string> files;
  std::vector<platform::DirectoryEntry> entries;
  std::string folder = InstallFolder(user);
  if (!platform::ListDirectory(folder, entries)) return files;
  for (const auto& e : entries) {
    if (!e.is_directory) files.push_back(folder + e.name);
  }
  return files;
}

}  // namespace kestro::host
