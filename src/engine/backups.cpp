#include "engine/backups.h"

#include <algorithm>
#include <unordered_set>
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
  const std::string& path = entry.folder();
  for (std::size_t at = 1; at <= path.size();) {
    std::size_t end = path.find('\\', at);
    if (end == std::string::npos) end = path.size();
    names.push_back(path.substr(at, end - at));
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

void KeepHandheldRecords(const std::string& folder, const FavoriteItemList& records, const RunReport& report,
                         int32_t browser_type, const std::string& location) {
  Describe(folder, browser_type, location);
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
  std::vector<std::string> files;
  const std::string desktop = Join(from, "desktop");
  ListFiles(desktop, "", files);
  if (!files.empty() && description.rfind(Format("BrowserType=%d\n", browser_type), 0) != 0) {
    throw Exception(Format("The backup \"%s\" was made of another kind of favourites", FileName(from).c_str()));
  }
  Describe(into, browser_type, location);
  for (const std::string& relative : files) {
    const std::string target = browser_type == kBrowserNetscape ? location : Join(location, relative);
    if (platform::FileExists(target)) CopyBytes(target, Join(Join(into, "desktop"), relative));
  }
  for (const std::string& relative : files) {
    CopyBytes(Join(desktop, relative), browser_type == kBrowserNetscape ? location : Join(location, relative));
  }
}

int MergeBackupRecords(FavoriteItemList& handheld, const std::string& backup_folder) {
  const std::string file = Join(backup_folder, "handheld.krv");
  if (!platform::FileExists(file)) return 0;
  const FavoriteItemList saved = LoadRecovery(file);
  const TreeEntries wanted = EntriesOf(saved, /*skip_deleted=*/true);
  int32_t next_id = 0;
  for (const auto& item : handheld) next_id = std::max(next_id, item->RecID);
  auto key = [](const TreeEntry& e) { return e.folder() + '\x01' + e.title + '\x01' + e.url; };
  std::unordered_set<std::string> have;
  for (const TreeEntry& e : EntriesOf(handheld, /*skip_deleted=*/false)) {
    if (e.is_url) have.insert(key(e));
  }
  int added = 0;
  for (const TreeEntry& entry : wanted) {
    if (!entry.is_url || !have.insert(key(entry)).second) continue;
    // The folder chain: each folder found inside the one before, or made.
    std::size_t insert_at = handheld.size();
    int32_t parent = 0, level = 0;
    std::string path;
    std::size_t search_from = 0, search_end = handheld.size();
    const std::string& folder_path = entry.folder();
    for (std::size_t at = 1; at <= folder_path.size();) {
      std::size_t end = folder_path.find('\\', at);
      if (end == std::string::npos) end = folder_path.size();
      const std::string name = folder_path.substr(at, end - at);
      at = end + 1;
      std::size_t found = search_end;
      for (std::size_t i = search_from; i < search_end; ++i) {
        const FavoriteItem& f = *handheld[i];
        if (f.Level == level && !f.isUrl && !f.isDeleted && f.NameText() == name) {
          found = i;
          break;
        }
        if (f.Level < level) break;
      }
      if (found == search_end) {
        auto folder = NewFavoriteItem();
        folder->SetName(name);
        folder->Level = level;
        folder->Parent = parent;
        folder->RecID = ++next_id;
        folder->isVisible = 1;
        folder->isNew = 1;
        handheld.insert(handheld.begin() + static_cast<std::ptrdiff_t>(search_end), std::move(folder));
        ++added;
        found = search_end;
      }
      parent = handheld[found]->RecID;
      ++level;
      search_from = found + 1;
      search_end = search_from;
      while (search_end < handheld.size() && handheld[search_end]->Level >= level) ++search_end;
      insert_at = search_from;
    }
    auto favorite = NewFavoriteItem();
    favorite->SetName(entry.title);
    favorite->SetURL(entry.url);
    favorite->Level = level;
    favorite->Parent = parent;
    favorite->isUrl = 1;
    favorite->isVisible = 1;
    favorite->isNew = 1;
    handheld.insert(handheld.begin() + static_cast<std::ptrdiff_t>(insert_at), std::move(favorite));
    ++added;
  }
  return added;
}

}  // namespace kestro
