#include "engine/backups.h"

#include <vector>

#include "base/exception.h"
#include "base/text.h"
#include "engine/recovery_file.h"
#include "engine/run_history.h"
#include "platform/file_system.h"
#include "platform/name_lookup.h"
#include "platform/process_paths.h"
#include "settings/settings_registry.h"

namespace kestro {
namespace {

std::string Join(const std::string& folder, const std::string& name) {
  if (!folder.empty() && (folder.back() == '/' || folder.back() == '\\')) return folder + name;
  return folder + platform::PathSeparator() + name;
}

std::string FileName(const std::string& path) { return path.substr(path.find_last_of("/\\") + 1); }

void CopyBytes(const std::string& from, const std::string& to) {
  std::string bytes;
  if (!platform::ReadWholeFile(from, bytes)) throw Exception(Format("Cannot read \"%s\" to back it up", from.c_str()));
  platform::CreateDirectories(platform::FolderOf(to));
  if (!platform::WriteFileAtomically(to, bytes)) throw Exception(Format("Cannot write the backup \"%s\"", to.c_str()));
}

// The file of a favourite on disk, found as the store finds it (names
// case-blind); relative is its path below the favourites folder.
bool FavoriteFile(const std::string& root, const TreeEntry& entry, std::string& relative) {
  std::string folder = root;
  relative.clear();
  std::vector<std::string> names;
  for (std::size_t at = 1; at <= entry.folder.size();) {
    std::size_t end = entry.folder.find('\\', at);
    if (end == std::string::npos) end = entry.folder.size();
    names.push_back(entry.folder.substr(at, end - at));
    at = end + 1;
  }
  names.push_back(entry.title + ".url");
  for (const std::string& name : names) {
    const std::string found = platform::ExistingNameCaseBlind(folder, name);
    folder = Join(folder, found);
    relative = relative.empty() ? found : Join(relative, found);
  }
  return platform::FileExists(folder);
}

// Every file below folder, by its path relative to it.
void ListFiles(const std::string& folder, const std::string& relative, std::vector<std::string>& files) {
  std::vector<platform::DirectoryEntry> entries;
  if (!platform::ListDirectory(relative.empty() ? folder : Join(folder, relative), entries)) return;
  for (const auto& e : entries) {
    const std::string path = relative.empty() ? e.name : Join(relative, e.name);
    if (e.is_directory) {
      ListFiles(folder, path, files);
    } else {
      files.push_back(path);
    }
  }
}

void Describe(const std::string& folder, int32_t browser_type, const std::string& location) {
  const std::string file = Join(folder, "backup.txt");
  if (platform::FileExists(file)) return;
  platform::CreateDirectories(folder);
  platform::WriteFileAtomically(file, Format("BrowserType=%d\nLocation=%s\n", browser_type, location.c_str()));
}

}  // namespace

std::string BackupsFolder(const std::string& conduit_folder) { return Join(conduit_folder, "Backups"); }

std::string BackupFolder(const std::string& conduit_folder, const std::string& id) {
  return Join(BackupsFolder(conduit_folder), id);
}

void BackUpDesktop(const std::string& folder, int32_t browser_type, const std::string& location,
                   const RunReport& plan) {
  Describe(folder, browser_type, location);
  const std::string desktop = Join(folder, "desktop");
  if (browser_type == kBrowserNetscape) {
    const std::string copy = Join(desktop, FileName(location));
    if (!platform::FileExists(copy)) CopyBytes(location, copy);
    return;
  }
  for (const RunAction& a : plan.Actions()) {
    if (a.side != "desktop" || a.action == "added" || !a.entry.is_url) continue;
    std::string relative;
    if (FavoriteFile(location, a.entry, relative) && !platform::FileExists(Join(desktop, relative))) {
      CopyBytes(Join(location, relative), Join(desktop, relative));
    }
  }
}

void KeepHandheldRecords(const std::string& folder, const FavoriteItemList& records, const RunReport& report) {
  platform::CreateDirectories(folder);
  SaveRecovery(Join(folder, "handheld.krv"), records);
  const std::string file = Join(folder, "backup.txt");
  std::string text;
  platform::ReadWholeFile(file, text);
  platform::WriteFileAtomically(file, text + "Run=" + report.Summary() + "\n");
}

FavoriteItemList RecordsOf(const TFavoritesBase& store) {
  FavoriteItemList records;
  std::vector<int32_t> folders;  // the folder ID at each level
  int32_t next_id = 0;
  for (const FavoriteItem* entry : store.Entries()) {
    auto item = NewFavoriteItem();
    item->SetName(entry->NameText());
    item->SetURL(entry->URLText());
    item->Level = entry->Level;
    item->isUrl = entry->isUrl;
    item->isClosed = entry->isClosed;
    item->isVisible = entry->isVisible;
    const std::size_t level = entry->Level < 0 ? 0 : static_cast<std::size_t>(entry->Level);
    folders.resize(level, 0);
    item->Parent = level == 0 ? 0 : folders[level - 1];
    item->RecID = ++next_id;
    if (!entry->isUrl) folders.push_back(item->RecID);
    records.push_back(std::move(item));
  }
  return records;
}

void PruneBackups(const std::string& conduit_folder, int keep) {
  const std::string folder = BackupsFolder(conduit_folder);
  std::vector<std::string> ids = SortedNames(folder, /*directories=*/true);
  for (std::size_t i = 0; i + static_cast<std::size_t>(keep < 0 ? 0 : keep) < ids.size(); ++i) {
    platform::DeleteTree(Join(folder, ids[i]));
  }
}

void RestoreDesktop(const std::string& from, const std::string& into, int32_t browser_type,
                    const std::string& location) {
  std::string description;
  if (!platform::ReadWholeFile(Join(from, "backup.txt"), description)) {
    throw Exception(Format("There is no backup \"%s\"", FileName(from).c_str()));
  }
  if (description.rfind(Format("BrowserType=%d\n", browser_type), 0) != 0) {
    throw Exception(Format("The backup \"%s\" was made of another kind of favourites", FileName(from).c_str()));
  }
  std::vector<std::string> files;
  const std::string desktop = Join(from, "desktop");
  ListFiles(desktop, "", files);
  Describe(into, browser_type, location);
  for (const std::string& relative : files) {
    const std::string target = browser_type == kBrowserNetscape ? location : Join(location, relative);
    if (platform::FileExists(target)) CopyBytes(target, Join(Join(into, "desktop"), relative));
  }
  for (const std::string& relative : files) {
    CopyBytes(Join(desktop, relative), browser_type == kBrowserNetscape ? location : Join(location, relative));
  }
}

}  // namespace kestro
