// The desktop favourites store as the engine sees it: every favourite and
// folder of the browser as an ordered list of items in pre-order of the tree,
// and the five changes the engine can ask for. The base keeps the list in step;
// each concrete store loads the list from the browser's storage and applies
// each change to that storage after the base's list step.
//
// Folder paths: empty for the top level, else "\" + name for each level.
// Entries stay valid until the store is destroyed, also after leaving the list.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "favorites/favorite_item.h"

namespace kestro {

class TFavoritesBase {
 public:
  virtual ~TFavoritesBase();

  // The list, in pre-order.
  int Count() const { return static_cast<int>(entries_.size()); }
  FavoriteItem* Items(int index) const { return entries_[static_cast<std::size_t>(index)]; }
  const std::vector<FavoriteItem*>& Entries() const { return entries_; }

  // Index of the folder the path names; 0 for the empty path, -1 for none.
  int32_t FindPath(const std::string& path) const;
  // The direct contents of the folder at path, each stamped with parent.
  FavoriteItemView GetFolderItems(const std::string& path, int32_t parent);

  virtual void DeleteFolder(const std::string& path);
  virtual void DeleteFavorite(const std::string& path);
  virtual void AddFavorite(const std::string& path, FavoriteItem item);
  virtual void ChangeFavorite(const std::string& path, FavoriteItem& item);
  virtual void ChangeFolder(const std::string& path, FavoriteItem& item);

 protected:
  // Appends or inserts a new entry the store owns.
  FavoriteItem* AppendEntry(std::unique_ptr<FavoriteItem> item);
  FavoriteItem* InsertEntry(int index, std::unique_ptr<FavoriteItem> item);
  void RemoveEntry(int index);  // out of the list; still owned until destruction
  void ClearEntries();

 private:
  std::vector<FavoriteItem*> entries_;
  std::vector<std::unique_ptr<FavoriteItem>> owned_;  // every entry ever made
};

}  // namespace kestro
