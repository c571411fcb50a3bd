// The store of an Internet Explorer favourites folder: every subdirectory is a
// folder and every ".url" file (extension in any case) a favourite. The whole
// tree is loaded at construction; each change goes to disk at once. Names are
// case-blind as on NTFS. Each entry remembers its file or folder, so an edit
// acts on that one; a name that would reach outside the favourites folder or
// that the file system cannot keep as it is never becomes a file name: the
// change is skipped with a notice.
// Errors leave through RaiseError with codes 1001 to 1007.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "favorites/favorites_base.h"
#include "platform/name_lookup.h"

namespace kestro {

class TFavoritesIE : public TFavoritesBase {
 public:
  // Raises "Internet Explorer favorites folder does not exist." (1001) when
  // root_folder is not a folder, and 1002 when a folder cannot be listed.
  explicit TFavoritesIE(const std::string& root_folder);

  const std::string& RootFolder() const { return root_folder_; }

  using TFavoritesBase::AddFavorite;
  using TFavoritesBase::ChangeFavorite;
  using TFavoritesBase::ChangeFolder;
  using TFavoritesBase::DeleteFavorite;
  using TFavoritesBase::DeleteFolder;
  void DeleteFolder(const std::string& path, FavoriteItem* folder) override;
  void DeleteFavorite(const std::string& path, FavoriteItem* entry) override;
  FavoriteItem* AddFavorite(const std::string& path, FavoriteItem* folder,
                            const FavoriteItem& item) override;
  FavoriteItem* AddFolder(const std::string& path, FavoriteItem* folder,
                          std::string_view name) override;
  void ChangeFavorite(const std::string& path, FavoriteItem* folder, FavoriteItem* entry,
                      FavoriteItem& item) override;
  bool ChangeFolder(const std::string& path, FavoriteItem* entry, FavoriteItem& item) override;
  // While held, each shortcut file is still replaced whole but flushed to
  // disk only at WriteHeld, all at once.
  void HoldWrites() override;
  void WriteHeld() override;
  ~TFavoritesIE() override;

 private:
  void ScanFolder(const std::string& directory, const std::string& relative);
  // Where an entry is on disk, relative to the favourites folder (empty for
  // the top level, null); false for an entry the folder does not hold.
  bool RelativeOf(const FavoriteItem* entry, std::string& relative) const;
  std::string FullPath(const std::string& relative) const;
  // False (with a notice) when the favourite cannot be written as it is.
  bool Writable(const std::string& path, const FavoriteItem& item);
  void Refuse(const char* what, const std::string& path, const std::string& reason);
  // Whether a folder entry of the list stands for the folder at relative.
  bool ListsFolder(const std::string& relative) const;

  // Tells the folder names that the entry at relative was removed.
  void Forget(const std::string& relative);

  std::string root_folder_;
  // The names of the folders this store looked up or wrote into.
  platform::FolderNames names_;
  bool holding_ = false;
  int32_t depth_ = -1;
  int32_t parent_index_ = 0;
  std::unordered_map<const FavoriteItem*, std::string> relative_of_;
  // The file a change of a favourite writes over in place; empty otherwise.
  std::string replacing_;
  // In preview: the relative paths the folder would hold (upper
  // case), standing in for the file system's answers.
  bool HeldExists(const std::string& relative);
  void HeldPathsChanged() { held_paths_valid_ = false; }
  void HeldAdd(const std::string& relative);
  void HeldRemove(const std::string& relative);
  std::unordered_set<std::string> held_paths_;
  bool held_paths_valid_ = false;
};

}  // namespace kestro
