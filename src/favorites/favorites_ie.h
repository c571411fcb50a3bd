// The store of an Internet Explorer favourites folder: every subdirectory is a
// folder and every ".url" file (extension in any case) a favourite. The whole
// tree is loaded at construction; each change goes to disk at once. Names are
// case-blind as on NTFS, and a name that would reach outside the favourites
// folder is never used as a file name: the change is skipped with a notice.
// Errors leave through RaiseError with codes 1001 to 1007.
#pragma once

#include <string>
#include <vector>

#include "favorites/favorites_base.h"

namespace kestro {

class TFavoritesIE : public TFavoritesBase {
 public:
  // Raises "Internet Explorer favorites folder does not exist." (1001) when
  // root_folder is not a folder, and 1002 when a folder cannot be listed.
  explicit TFavoritesIE(const std::string& root_folder);

  const std::string& RootFolder() const { return root_folder_; }

  void DeleteFolder(const std::string& path) override;
  void DeleteFavorite(const std::string& path) override;
  void AddFavorite(const std::string& path, FavoriteItem item) override;
  void ChangeFavorite(const std::string& path, FavoriteItem& item) override;
  void ChangeFolder(const std::string& path, FavoriteItem& item) override;

 private:
  void ScanFolder(const std::string& directory);
  // The native path of the folder the components name, each component
  // matched case-blind against what exists.
  std::string FolderOnDisk(const std::vector<std::string>& components) const;
  // The native path of a favourite's file in folder.
  std::string FavoriteFile(const std::string& folder, const std::string& name) const;
  // False (with a notice) when one of names may not become a file name.
  bool SafeNames(const char* what, const std::string& path, const std::vector<std::string>& names);
  bool SafeFavorite(const std::string& path, const FavoriteItem& item);

  std::string root_folder_;
  int32_t depth_ = -1;
  int32_t parent_index_ = 0;
};

}  // namespace kestro
