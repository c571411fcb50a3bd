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
    ScanFolder(root_folder_, "");
    WriteLog("URLs loaded");
  } catch (const std::exception& e) {
    RaiseError(MessageOf(e), "1001");
  }
}

void TFavoritesIE::ScanFolder(const std::string& directory, const std::string& relative) {
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
      const std::string entry_relative = relative.empty() ? entry.name : Join(relative, entry.name);
      if (entry.is_directory) {
        item->SetName(entry.name);
        relative_of_[AppendEntry(std::move(item))] = entry_relative;
        ScanFolder(full, entry_relative);
      } else {
        item->isUrl = 1;
        item->SetName(std::string_view(entry.name).substr(0, entry.name.size() - 4));
        item->SetURL(ReadShortcutURL(full));
        relative_of_[AppendEntry(std::move(item))] = entry_relative;
      }
    }
    --depth_;
    parent_index_ = saved_parent;
  } catch (const std::exception& e) {
    RaiseError(MessageOf(e), "1002");
  }
}

TFavoritesIE::~TFavoritesIE() {
  // A run that failed before WriteHeld: later files are flushed as usual.
  if (holding_) platform::FlushHeldWrites();
}

void TFavoritesIE::HoldWrites() {
  holding_ = true;
  platform::HoldFlushes();
}

void TFavoritesIE::WriteHeld() {
  if (!holding_) return;
  holding_ = false;
  if (!platform::FlushHeldWrites()) {
    throw Exception(Format("Cannot flush the favourites written to %s", root_folder_.c_str()));
  }
}

bool TFavoritesIE::RelativeOf(const FavoriteItem* entry, std::string& relative) const {
  if (!entry) {
    relative.clear();
    return true;
  }
  auto it = relative_of_.find(entry);
  if (it == relative_of_.end()) return false;
  relative = it->second;
  return true;
}

std::string TFavoritesIE::FullPath(const std::string& relative) const {
  return relative.empty() ? root_folder_ : Join(root_folder_, relative);
}

void TFavoritesIE::Refuse(const char* what, const std::string& path, const std::string& reason) {
  AddNotice(
      Format("%s \"%s\" was left alone on the desktop: %s.", what, path.c_str(), reason.c_str()));
}

bool TFavoritesIE::Writable(const std::string& path, const FavoriteItem& item) {
  const std::string item_path = path + "\\" + std::string(item.NameText());
  std::string reason = FileNameProblem(item.NameText(), ".url");
  // A line break would end the address's line and start another of the file.
  if (reason.empty() && item.URLText().find_first_of("\r\n") != std::string_view::npos) {
    reason = "its address holds a line break";
  }
  if (reason.empty()) return true;
  Refuse("Favorite", item_path, reason);
  return false;
}

void TFavoritesIE::Forget(const std::string& relative) {
  const std::size_t cut = relative.rfind(platform::PathSeparator());
  const std::string parent = FullPath(cut == std::string::npos ? "" : relative.substr(0, cut));
  names_.Removed(parent, relative.substr(cut == std::string::npos ? 0 : cut + 1));
}

bool TFavoritesIE::ListsFolder(const std::string& relative) const {
  for (const auto& [entry, held_relative] : relative_of_) {
    if (!entry->isUrl && SameTextAscii(held_relative, relative) && IndexOf(entry) != -1)
      return true;
  }
  return false;
}

bool TFavoritesIE::HeldExists(const std::string& relative) {
  if (!held_paths_valid_) {
    held_paths_.clear();
    for (const auto& [entry, held_relative] : relative_of_) held_paths_.insert(AsciiUpper(held_relative));
    held_paths_valid_ = true;
  }
  return held_paths_.count(AsciiUpper(relative)) != 0;
}

void TFavoritesIE::HeldAdd(const std::string& relative) {
  if (held_paths_valid_) held_paths_.insert(AsciiUpper(relative));
}

void TFavoritesIE::HeldRemove(const std::string& relative) {
  if (held_paths_valid_) held_paths_.erase(AsciiUpper(relative));
}

void TFavoritesIE::DeleteFolder(const std::string& path, FavoriteItem* folder) {
  std::string relative;
  const bool on_disk = folder && !folder->isUrl && RelativeOf(folder, relative);
  TFavoritesBase::DeleteFolder(path, folder);
  try {
    if (!on_disk || relative.empty()) return;  // never the favourites folder itself
    if (Previewing()) return HeldRemove(relative);
    if (platform::RemoveEmptyDirectory(FullPath(relative))) names_.Forget();
    WriteLog("RemoveDir " + TraceText(root_folder_, path));
  } catch (const std::exception& e) {
    RaiseError(MessageOf(e), "1003");
  }
}

void TFavoritesIE::DeleteFavorite(const std::string& path, FavoriteItem* entry) {
  std::string relative;
  const bool on_disk = entry && entry->isUrl && RelativeOf(entry, relative);
  TFavoritesBase::DeleteFavorite(path, entry);
  try {
    if (!on_disk || FullPath(relative) == replacing_) return;
    // A file that stays would read as the favourite still there, or stop a
    // changed one from being written.
    if (!Previewing() && !platform::DeleteFileAt(FullPath(relative)) && platform::FileExists(FullPath(relative))) {
      throw Exception(Format("Unable to delete %s", FullPath(relative).c_str()));
    }
    if (!Previewing()) Forget(relative);
    relative_of_.erase(entry);
    HeldRemove(relative);
    WriteLog("DeleteFile " + TraceText(root_folder_, path) + ".url");
  } catch (const std::exception& e) {
    RaiseError(MessageOf(e), "1004");
  }
}

FavoriteItem* TFavoritesIE::AddFavorite(const std::string& path, FavoriteItem* folder,
                                        const FavoriteItem& item) {
  std::string folder_relative;
  if (!Writable(path, item) || !RelativeOf(folder, folder_relative)) return nullptr;
  const std::string folder_path = FullPath(folder_relative);
  const std::string file_name = names_.ExistingNameCaseBlind(folder_path, std::string(item.NameText()) + ".url");
  // Another favourite of this name already lives in the folder (the handheld
  // may hold two of one name; the folder cannot): it is not written over.
  const std::string file = Join(folder_path, file_name);
  const std::string relative = folder_relative.empty() ? file_name : Join(folder_relative, file_name);
  const bool replacing = !replacing_.empty() && file == replacing_;
  if (!replacing && (Previewing() ? HeldExists(relative) : names_.HoldsFile(folder_path, file_name))) {
    Refuse("Favorite", path + "\\" + std::string(item.NameText()),
           "a favourite of that name is already in its folder");
    return nullptr;
  }
  FavoriteItem* entry = TFavoritesBase::AddFavorite(path, folder, item);
  try {
    if (!Previewing()) {
      if (!names_.IsThere(folder_path)) {
        platform::CreateDirectories(folder_path);
        names_.Forget();  // it may have made folders above it too
      }
      if (replacing) {
        ReplaceShortcut(file, std::string(item.URLText()));
      } else if (WriteNewShortcut(file, std::string(item.URLText()))) {
        names_.Added(folder_path, file_name, true);
      } else {
        // Something of that name is there (a folder, or a file another
        // program made since the folder was listed): it is kept.
        throw Exception(Format("Unable to write to %s", file.c_str()));
      }
    }
    if (entry) relative_of_[entry] = relative;
    HeldAdd(relative);
  } catch (const std::exception& e) {
    RaiseError(MessageOf(e), "1005");
  }
  return entry;
}

FavoriteItem* TFavoritesIE::AddFolder(const std::string& path, FavoriteItem* folder,
                                      std::string_view name) {
  std::string parent_relative;
  if (!RelativeOf(folder, parent_relative)) return nullptr;
  const std::string reason = FileNameProblem(name, "");
  if (!reason.empty()) {
    Refuse("Folder", path, reason);
    return nullptr;
  }
  const std::string parent = FullPath(parent_relative);
  // A folder of this name that is already there is the one the favourite
  // goes into, unless another folder of the list is that folder already: a
  // folder cannot hold two of one name, and merging two would change both.
  const std::string folder_name = names_.ExistingNameCaseBlind(parent, std::string(name));
  if (ListsFolder(parent_relative.empty() ? folder_name : Join(parent_relative, folder_name))) {
    Refuse("Folder", path, "another folder of its name is already in its folder");
    return nullptr;
  }
  if (!Previewing()) {
    if (!platform::CreateDirectories(Join(parent, folder_name))) {
      Refuse("Folder", path, "it cannot be made there");
      return nullptr;
    }
    names_.Added(parent, folder_name, false);
    names_.Made(Join(parent, folder_name));
  }
  FavoriteItem* entry = TFavoritesBase::AddFolder(path, folder, name);
  if (entry) {
    relative_of_[entry] =
        parent_relative.empty() ? folder_name : Join(parent_relative, folder_name);
  }
  HeldAdd(parent_relative.empty() ? folder_name : Join(parent_relative, folder_name));
  return entry;
}

void TFavoritesIE::ChangeFavorite(const std::string& path, FavoriteItem* folder,
                                  FavoriteItem* entry, FavoriteItem& item) {
  // Checked before the old file goes, so that a change refused here does not
  // lose the favourite.
  if (!item.isUrl || !Writable(path, item)) return;
  try {
    std::string relative, folder_relative, old_bytes;
    const bool on_disk = entry && entry->isUrl && RelativeOf(entry, relative) &&
                         platform::ReadWholeFile(FullPath(relative), old_bytes);
    const std::string old_file = on_disk ? FullPath(relative) : std::string();
    // A change that keeps the file's name writes over it in one step, never
    // deleting it first: a run stopped at any point leaves the old favourite
    // or the new one.
    if (on_disk && RelativeOf(folder, folder_relative) &&
        Join(FullPath(folder_relative), std::string(item.NameText()) + ".url") == old_file) {
      replacing_ = old_file;
    }
    struct Release {
      std::string& file;
      ~Release() { file.clear(); }
    } release{replacing_};
    if (entry && entry->isUrl) DeleteFavorite(path + "\\" + std::string(item.NameText()), entry);
    try {
      AddFavorite(path, folder, item);
    } catch (const std::exception&) {
      // The new file could not be written: the old one comes back, so a
      // failed change loses nothing and the next run can make it again.
      if (on_disk && !platform::FileExists(old_file)) {
        platform::WriteFileAtomically(old_file, old_bytes);
        names_.Forget();
      }
      throw;
    }
  } catch (const std::exception& e) {
    RaiseError(MessageOf(e), "1006");
  }
}

bool TFavoritesIE::ChangeFolder(const std::string& path, FavoriteItem* entry, FavoriteItem& item) {
  std::string relative;
  if (item.isUrl || !entry || entry->isUrl || !RelativeOf(entry, relative) || relative.empty())
    return false;
  const std::string former_path = path + "\\" + std::string(item.URLText());
  const std::string name(item.NameText());
  const std::string reason = FileNameProblem(name, "");
  if (!reason.empty()) {
    Refuse("Folder", former_path, "its new name cannot be a folder name: " + reason);
    return false;
  }
  try {
    const std::size_t cut = relative.rfind(platform::PathSeparator());
    const std::string parent_relative = cut == std::string::npos ? "" : relative.substr(0, cut);
    const std::string parent = FullPath(parent_relative);
    const std::string from = relative.substr(cut == std::string::npos ? 0 : cut + 1);
    const std::string to = names_.ExistingNameCaseBlind(parent, name);
    // Renaming onto another existing entry would replace it; a change of case
    // only is a rename of the folder itself.
    const std::string target = parent_relative.empty() ? name : Join(parent_relative, name);
    const bool taken = Previewing() ? AsciiUpper(from) != AsciiUpper(name) && HeldExists(target)
                                    : to != from && platform::PathExists(Join(parent, to));
    if (taken) {
      Refuse("Folder", former_path, "a folder or file of its new name is already there");
      return false;
    }
    if (!Previewing() && !platform::RenamePath(Join(parent, from), Join(parent, name))) {
      Refuse("Folder", former_path, "it could not be renamed");
      return false;
    }
    if (!Previewing()) names_.Forget();
    TFavoritesBase::ChangeFolder(path, entry, item);
    // Everything inside moved along with the folder.
    const std::string renamed = parent_relative.empty() ? name : Join(parent_relative, name);
    const std::string inside = relative + platform::PathSeparator();
    for (auto& [held, held_relative] : relative_of_) {
      if (held_relative == relative) {
        held_relative = renamed;
      } else if (held_relative.starts_with(inside)) {
        held_relative = renamed + held_relative.substr(relative.size());
      }
    }
    HeldPathsChanged();
    return true;
  } catch (const std::exception& e) {
    RaiseError(MessageOf(e), "1007");
  }
}

}  // namespace kestro
