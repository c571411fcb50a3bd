#include "platform/temporary_files.h"

#include <mutex>
#include <set>
#include <vector>

#include "base/text.h"
#include "platform/environment.h"
#include "platform/file_system.h"
#include "platform/process_paths.h"

namespace kestro::platform {
namespace {

constexpr std::string_view kMark = ".tmp";
// The longest name of one file the file systems allow; a temporary of a file
// whose name nears it has the file's name cut, so the mark still fits.
constexpr std::size_t kMaxName = 255;
// A cut never leaves more room than a UTF-8 character's last bytes.
constexpr std::size_t kMaxCutSlack = 3;

// The file and the process id of a temporary's name, if it is one.
bool SplitTemporaryName(const std::string& name, std::string& file, uint32_t& id) {
  const std::size_t mark = name.rfind(kMark);
  if (mark == std::string::npos || mark == 0) return false;
  const std::string digits = name.substr(mark + kMark.size());
  int64_t value = 0;
  if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos ||
      !ParseInt64(digits, value) || value > UINT32_MAX) {
    return false;
  }
  file = name.substr(0, mark);
  id = static_cast<uint32_t>(value);
  return true;
}

}  // namespace

std::string TemporaryFileFor(const std::string& path) {
  const std::string suffix = std::string(kMark) + std::to_string(CurrentProcessId());
  const std::size_t folder = FolderOf(path).size();
  std::size_t end = path.size();
  if (end - folder + suffix.size() > kMaxName) {
    end = folder + kMaxName - suffix.size();
    // Cut before a whole UTF-8 character, never inside one.
    while (end > folder && (static_cast<unsigned char>(path[end]) & 0xC0) == 0x80) --end;
  }
  return path.substr(0, end) + suffix;
}

void RemoveStaleTemporaries(const std::string& path) {
  const std::string folder = FolderOf(path);
  std::vector<DirectoryEntry> entries;
  if (!ListDirectory(folder.empty() ? "." : folder, entries)) return;
  std::set<std::string> files;
  for (const DirectoryEntry& e : entries) files.insert(e.name);
  files.insert(path.substr(folder.size()));
  for (const DirectoryEntry& e : entries) {
    std::string file;
    uint32_t id = 0;
    if (e.is_directory || !SplitTemporaryName(e.name, file, id)) continue;
    // A temporary that fills the name limit may hold its file's name cut.
    const auto next = files.lower_bound(file);
    const bool cut = e.name.size() + kMaxCutSlack >= kMaxName && next != files.end() &&
                     next->compare(0, file.size(), file) == 0;
    if (!files.count(file) && !cut) continue;
    if (id == CurrentProcessId() || ProcessIsRunning(id)) continue;
    DeleteFileAt(folder + e.name);
  }
}

void RemoveStaleTemporariesOnce(const std::string& path) {
  // Never destroyed: a library's exit-time destructors may still replace a
  // file (the handheld folds its journal) after this unit's would have run.
  static std::mutex* mutex = new std::mutex;
  static std::set<std::string>* seen = new std::set<std::string>;
  {
    std::lock_guard<std::mutex> lock(*mutex);
    if (!seen->insert(FolderOf(path)).second) return;
  }
  RemoveStaleTemporaries(path);
}

}  // namespace kestro::platform
