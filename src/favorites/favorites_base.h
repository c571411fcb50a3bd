// The desktop favourites store as the engine sees it: every favourite and
// folder of the browser as an ordered list of items in pre-order of the tree,
// and the five changes the engine can ask for. The base keeps the list in step;
// each concrete store loads the list from the browser's storage and applies
// each change to that storage after the base's list step.
//
// Folder paths: empty for the top level, else "\" + name for each level.
// Entries stay valid until the store is destroyed, also after leaving the list.
// Callers may stamp an entry's RecID, Parent and flags; its Name and Level
// change only through the store's operations, which keep the lookups in step.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "favorites/favorite_item.h"
#include "favorites/folder_index.h"

namespace kestro {

class TFavoritesBase {
 public:
  TFavoritesBase() = default;
  TFavoritesBase(const TFavoritesBase&) = delete;
  TFavoritesBase& operator=(const TFavoritesBase&) = delete;
  virtual ~TFavoritesBase();

  // The list, in pre-order.
  int Count() const { return static_cast<int>(entries_.size()); }
  FavoriteItem* Items(int index) const { return entries_.at(static_cast<std::size_t>(index)); }
  const std::vector<FavoriteItem*>& Entries() const { return entries_; }

  // Index of the folder the path names; 0 for the empty path, -1 for none.
  // Each component is looked for among the folders directly inside the folder
  // matched for the one before (the first among the top-level folders), by
  // whole name with A-Z folded; the first such folder wins.
  int32_t FindPath(const std::string& path) const;
  // The direct contents of the folder at path, each stamped with parent. The
  // list is new (empty when the folder is not found); the items stay the
  // store's.
  FavoriteItemView GetFolderItems(const std::string& path, int32_t parent);
  // The same for a folder entry of this store (null: the top level); empty
  // when the entry is not a folder in the list.
  FavoriteItemView GetFolderItems(const FavoriteItem* folder, int32_t parent);
  // The same without the stamp, to look at.
  FavoriteItemView FolderContents(const FavoriteItem* folder) const;

  // The edits by path, as a browser names its entries: each looks the entry
  // up (the first of its name, folders inside their parents) and makes the
  // edit below on it.
  void DeleteFolder(const std::string& path);
  // Path: the containing folder's path, "\" and the favourite's name.
  void DeleteFavorite(const std::string& path);
  // Missing folders on the way are created first.
  void AddFavorite(const std::string& path, FavoriteItem item);
  void ChangeFavorite(const std::string& path, FavoriteItem& item);
  // The item's URL field holds the folder's former name.
  void ChangeFolder(const std::string& path, FavoriteItem& item);

  // The edits of given entries, which a run takes from GetFolderItems so that
  // an edit acts on the very entry it matched, whatever other entries share
  // its name. A folder argument of null is the top level; path names the
  // entry in notices and the trace only. A store may refuse an edit it cannot
  // make faithfully: it then changes nothing, adds a notice and says so.
  //
  // Removes the folder's entry when nothing is left inside it.
  virtual void DeleteFolder(const std::string& path, FavoriteItem* folder);
  // Removes the favourite's entry (nothing for a folder or null).
  virtual void DeleteFavorite(const std::string& path, FavoriteItem* entry);
  // A copy of the item becomes the folder's first entry; returns the new
  // entry, or null when refused.
  virtual FavoriteItem* AddFavorite(const std::string& path, FavoriteItem* folder,
                                    const FavoriteItem& item);
  // A new, empty folder named name becomes the folder's first entry; returns
  // it, or null when refused.
  virtual FavoriteItem* AddFolder(const std::string& path, FavoriteItem* folder,
                                  std::string_view name);
  // For a favourite item: entry (a favourite inside folder, or null for
  // none) gives way to a copy of the item; an entry replaced stays valid.
  virtual void ChangeFavorite(const std::string& path, FavoriteItem* folder, FavoriteItem* entry,
                              FavoriteItem& item);
  // For a folder item: the folder entry takes the item's whole Name field.
  // False when nothing was renamed.
  virtual bool ChangeFolder(const std::string& path, FavoriteItem* entry, FavoriteItem& item);

  // Whether a folder can hold several favourites of one name (a bookmark
  // file can; a favourites folder holds one file of a name).
  virtual bool HoldsRepeatedNames() const { return false; }

  // Whether an edit has changed the list since the store was loaded; a store
  // that answers false still holds exactly what it loaded.
  bool Changed() const { return changed_; }

  // For a whole run's edits: from HoldWrites on, the store may keep its
  // changes in memory or leave them unflushed, and WriteHeld puts them all on
  // disk durably at once (raising when it cannot). A store dropped before
  // WriteHeld may leave its desktop without them; the run that held them
  // must then be made again, which the engine's recovery of the handheld
  // provides.
  virtual void HoldWrites() {}
  virtual void WriteHeld() {}

  // Changes the store refused to make on the desktop, one readable line
  // each (for example a name that would leave the favourites folder). The
  // engine writes them to the HotSync log; TakeNotices empties the list.
  const std::vector<std::string>& Notices() const { return notices_; }
  std::vector<std::string> TakeNotices();

  // A store in preview changes its list only, never the browser's storage,
  // and refuses what it would refuse for real: a run against it shows what
  // the run would do.
  void Preview() { previewing_ = true; }
  bool Previewing() const { return previewing_; }

 protected:
  // Appends or inserts a new entry the store owns.
  FavoriteItem* AppendEntry(std::unique_ptr<FavoriteItem> item);
  FavoriteItem* InsertEntry(int index, std::unique_ptr<FavoriteItem> item);
  void RemoveEntry(int index);  // out of the list; still owned until destruction
  void ClearEntries();
  // Index of the first favourite named name directly inside the folder at
  // folder_path, or -1.
  int32_t FindFavorite(const std::string& folder_path, const std::string& name) const;
  // The entry at index, or null for -1.
  FavoriteItem* EntryAt(int32_t index) const;
  // Where the entry is in the list, or -1 when it is not there.
  int32_t IndexOf(const FavoriteItem* entry) const;
  // Where a new first entry of the folder goes (null: the top level).
  int32_t FirstChildIndex(const FavoriteItem* folder) const;
  void AddNotice(std::string notice) { notices_.push_back(std::move(notice)); }

 private:
  const FolderIndex& Index() const;
  void ListChanged() { index_valid_ = false; }
  void Edited() {
    changed_ = true;
    ListChanged();
  }

  std::vector<FavoriteItem*> entries_;
  std::vector<std::unique_ptr<FavoriteItem>> owned_;  // every entry ever made
  std::vector<std::string> notices_;
  // Rebuilt on the first lookup after a change of the list, so that looking
  // up every folder of a large store stays linear.
  mutable FolderIndex index_;
  mutable bool index_valid_ = false;
  bool changed_ = false;
  bool previewing_ = false;
};

}  // namespace kestro
