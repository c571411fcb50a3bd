#include "favorites/favorites_ie.h"

#include <ctime>

#include "base/text.h"
#include "favorites/folder_path.h"
#include "favorites/internet_shortcut.h"
#include "favorites/kestro_error.h"
#include "platform/file_system.h"
#include "platform/name_lookup.h"
#include "platform/process_paths.h"

namespace kestro {
namespace {

std::string Join(const std::string& folder, const std::string& name) {
  return folder + platform::PathSeparator() + name;
}

// The trace's text for an entry: the root, "\", the path, as the store names it.
std::string TraceText(const std::string& root, const std::string& path) {
  return root + "\\" + path;
}

std::string LongTime() {
  std::time_t now = std::time(nullptr);
  char text[32] = {};
  if (const std::tm* t = std::localtime(&now)) std::strftime(text, sizeof text, "%H:%M:%S", t);
  return text;
}

std::vector<std::string> With(std::vector<std::string> names, std::string_view more) {
  names.emplace_back(more);
  return names;
}

}  // namespace

TFavoritesIE::TFavoritesIE(const std::string& root_folder) {
  try {
    if (!platform::DirectoryExists(root_folder)) {
      throw Exception("Internet Explorer favorites folder does not exist.");
    }
    WriteLog("Start IE -----");
    WriteLog(LongTime());
    root_folder_ = root_folder;
    depth_ = -1;
    parent_index_ = 0;
    ScanFolder(root_folder_);
    WriteLog("URLs loaded");
  } catch (const std::exception& e) {
    RaiseError(MessageOf(e), "1001");
  }
}

void TFavoritesIE::ScanFolder(const std::string& directory) {
  try {
    ++depth_;
    const int32_t saved_parent = parent_index_;
    parent_index_ = Count() - 1;
    std::vector<platform::DirectoryEntry> entries;
    // A folder that cannot be listed must not look empty: the run would take
    // its favourites for deleted on the desktop.
    if (!platform::ListDirectory(directory, entries)) {
      throw Exception(Format("Cannot read folder %s", directory.c_str()));
    }
    for (const platform::DirectoryEntry& entry : entries) {
      const std::size_t dot = entry.name.rfind('.');
      const bool is_url_file = !entry.is_directory && dot != std::string::npos &&
                               SameTextAscii(std::string_view(entry.name).substr(dot), ".url");
      if (!entry.is_directory && !is_url_file) continue;
      auto item = NewFavoriteItem();
      item->Parent = parent_index_;
      item->Level = depth_;
      item->isVisible = 1;
      const std::string full = Join(directory, entry.name);
      if (entry.is_directory) {
        item->SetName(entry.name);
        AppendEntry(std::move(item));
        ScanFolder(full);
      } else {
        item->isUrl = 1;
        item->SetName(std::string_view(entry.name).substr(0, entry.name.size() - 4));
        item->SetURL(ReadShortcutURL(full));
        AppendEntry(std::move(item));
      }
    }
    --depth_;
    parent_index_ = saved_parent;
  } catch (const std::exception& e) {
    RaiseError(MessageOf(e), "1002");
  }
}

bool TFavoritesIE::SafeNames(const char* what, const std::string& path,
                             const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    std::string reason = UnsafeNameReason(name);
    if (!reason.empty()) {
      AddNotice(Format("%s \"%s\" was left alone on the desktop: %s.", what, path.c_str(),
                       reason.c_str()));
      return false;
    }
  }
  return true;
}

std::string TFavoritesIE::FolderOnDisk(const std::vector<std::string>& components) const {
  std::string folder = root_folder_;
  for (const std::string& component : components) {
    folder = Join(folder, platform::ExistingNameCaseBlind(folder, component));
  }
  return folder;
}

std::string TFavoritesIE::FavoriteFile(const std::string& folder, const std::string& name) const {
  return Join(folder, platform::ExistingNameCaseBlind(folder, name + ".url"));
}

void TFavoritesIE::DeleteFolder(const std::string& path) {
  const std::vector<std::string> components = SplitFolderPath(path);
  if (!SafeNames("Folder", path, components)) return;
  TFavoritesBase::DeleteFolder(path);
  try {
    if (components.empty()) return;  // never the favourites folder itself
    platform::RemoveEmptyDirectory(FolderOnDisk(components));
    WriteLog("RemoveDir " + TraceText(root_folder_, path));
  } catch (const std::exception& e) {
    RaiseError(MessageOf(e), "1003");
  }
}

void TFavoritesIE::DeleteFavorite(const std::string& path) {
  std::vector<std::string> components = SplitFolderPath(path);
  if (!SafeNames("Favorite", path, components)) return;
  TFavoritesBase::DeleteFavorite(path);
  try {
    if (components.empty()) return;
    const std::string name = components.back();
    components.pop_back();
    platform::DeleteFileAt(FavoriteFile(FolderOnDisk(components), name));
    WriteLog("DeleteFile " + TraceText(root_folder_, path) + ".url");
  } catch (const std::exception& e) {
    RaiseError(MessageOf(e), "1004");
  }
}

bool TFavoritesIE::SafeFavorite(const std::string& path, const FavoriteItem& item) {
  const std::string name(item.NameText());
  if (!SafeNames("Favorite", path + "\\" + name, With(SplitFolderPath(path), name))) return false;
  // A line break would end the address's line and start another of the file.
  if (item.URLText().find_first_of("\r\n") == std::string_view::npos) return true;
  AddNotice(
      Format("Favorite \"%s\\%s\" was left alone on the desktop: its address holds a line break.",
             path.c_str(), name.c_str()));
  return false;
}

void TFavoritesIE::AddFavorite(const std::string& path, FavoriteItem item) {
  if (!SafeFavorite(path, item)) return;
  const std::string name(item.NameText());
  const std::vector<std::string> components = SplitFolderPath(path);
  TFavoritesBase::AddFavorite(path, item);
  try {
    const std::string folder = FolderOnDisk(components);
    platform::CreateDirectories(folder);
    WriteShortcut(FavoriteFile(folder, name), std::string(item.URLText()));
  } catch (const std::exception& e) {
    RaiseError(MessageOf(e), "1005");
  }
}

void TFavoritesIE::ChangeFavorite(const std::string& path, FavoriteItem& item) {
  // Checked before the old file goes, so that a change refused here does not
  // lose the favourite.
  if (item.isUrl && !SafeFavorite(path, item)) return;
  const std::string name(item.NameText());
  TFavoritesBase::ChangeFavorite(path, item);
  try {
    if (!item.isUrl) return;
    DeleteFavorite(path + "\\" + name);
    AddFavorite(path, item);
  } catch (const std::exception& e) {
    RaiseError(MessageOf(e), "1006");
  }
}

void TFavoritesIE::ChangeFolder(const std::string& path, FavoriteItem& item) {
  const std::string name(item.NameText());
  const std::string former(item.URLText());
  if (!item.isUrl &&
      !SafeNames("Folder", path + "\\" + former, With(With(SplitFolderPath(path), former), name))) {
    return;
  }
  TFavoritesBase::ChangeFolder(path, item);
  try {
    if (item.isUrl) return;
    const std::string folder = FolderOnDisk(SplitFolderPath(path));
    const std::string from = platform::ExistingNameCaseBlind(folder, former);
    const std::string to = platform::ExistingNameCaseBlind(folder, name);
    // Renaming onto another existing entry would replace it; a change of case
    // only is a rename of the folder itself.
    if (to != from && platform::PathExists(Join(folder, to))) return;
    platform::RenamePath(Join(folder, from), Join(folder, name));
  } catch (const std::exception& e) {
    RaiseError(MessageOf(e), "1007");
  }
}

}  // namespace kestro
