// The two-way reconciliation of a synchronise run. It walks the handheld's
// items folder by folder against the desktop store and the last run's state,
// pushes handheld edits to the desktop, decides which version of each item
// survives, writes every survivor back to the emptied handheld, and adds the
// desktop-only items with their subtrees. Failures raise through RaiseError
// with the codes 3002 to 3008; the first failure ends the reconciliation.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "engine/folder_matcher.h"
#include "engine/record_writer.h"
#include "engine/state_file.h"
#include "favorites/favorite_item.h"
#include "favorites/favorites_base.h"

namespace kestro {

class Reconciliation {
 public:
  // pdb_list: the handheld items in record order (depth-first); they are
  // changed as the run goes (flags, RecID). All four must outlive this object.
  Reconciliation(FavoriteItemList& pdb_list, TFavoritesBase& favorites, const StateIndex& state,
                 HandheldRecordWriter& writer);

  // The whole walk: SyncFolder from position -1 at the top level.
  void Run();

  // One pass over the items of one folder, recursive over sub-folders. The
  // position and the folder path are shared by every level of the recursion.
  void SyncFolder(int& position);
  // Writes desktop-only items and their whole subtrees.
  void AddPCItems(const FavoriteItemView& list);

 private:
  // A pass: the ID its contents take as Parent, and, for a folder whose own
  // record was not written by its pass, the handheld folder to write just
  // before the first of its contents. On the desktop its folder is the entry
  // the handheld folder was matched to; when there is none, one is made the
  // first time a favourite goes into it (unless the store refused it).
  struct Pass {
    int32_t parent_id = 0;
    bool folder_written = true;
    int folder_position = -1;
    std::size_t path_size = 0;  // its folder's path is path_ up to here
    FavoriteItem* desktop = nullptr;
    bool desktop_refused = false;
  };

  FavoriteItem& At(int position) { return *pdb_list_[static_cast<std::size_t>(position)]; }
  int Count() const { return static_cast<int>(pdb_list_.size()); }
  int32_t Write(const FavoriteItem& item, int32_t parent, uint8_t status);
  // The Parent of the contents of pass `depth`, writing the pass's folder
  // (and any unwritten folder around it, outermost first) when needed.
  int32_t ContentParent(std::size_t depth);
  // The desktop folder of pass `depth` (null: the top level), made when the
  // desktop has none; false when it cannot be had.
  bool DesktopFolder(std::size_t depth, FavoriteItem*& folder);
  void HandleItem(int& position, const std::string& path, FolderMatcher& fav_list);
  // Pairs the handheld folders of the pass that starts at first with the
  // desktop folders of their names, before any of them is handled, wherever
  // names repeat among them: best pairs first, so that a folder handled
  // early never takes the desktop folder that a later sibling holds.
  void PairFolders(int first, int32_t level, const FolderMatcher& fav_list);
  // The desktop counterpart of the handheld folder at position, by name
  // (its own, or the former one it was paired by): the one it was paired
  // with, else among the unpaired sibling folders of that name the one whose
  // contents share the most entries with its own (the first on a tie); -1
  // when none remains.
  int MatchFolder(int position, std::string_view name, FolderMatcher& fav_list);
  // How alike the handheld folder at position and the desktop folder are:
  // by the entries their contents share (two empty folders are alike too).
  std::size_t SharedEntries(int position, const FavoriteItem& desktop) const;
  // Before the handheld folder at position is renamed, makes the renames of
  // its unhandled siblings that give up its new name (and, first, those
  // that free theirs): a favourites folder cannot hold both names at once.
  void FreeName(int position, const std::string& path, FolderMatcher& fav_list);
  // Before a new handheld favourite is added, makes the deletions of its
  // unhandled siblings of its name that the handheld deleted: a favourites
  // folder holds one file of a name, so the new one would be refused.
  void FreeFavoriteName(int position, const std::string& path, FolderMatcher& fav_list);
  void PushEdit(int position, const std::string& path, FavoriteItem*& d, int& d_index,
                FolderMatcher& fav_list);

  FavoriteItemList& pdb_list_;
  TFavoritesBase& favorites_;
  const StateIndex& state_;
  HandheldRecordWriter& writer_;
  std::vector<Pass> passes_;
  // The folder path of the innermost pass ("" at the top, else "\A\B"),
  // one for the whole walk: a path kept by each level of a deep tree would
  // hold memory in the square of its depth.
  std::string path_;
  // Per handheld position: the ID of the folder record written for it in this
  // run (either version), or 0 when none was.
  std::vector<int32_t> folder_ids_;
  // Per handheld position: the desktop folder its pass used, if any.
  std::vector<FavoriteItem*> desktop_folders_;
  std::vector<bool> visited_;
  // Per handheld position: the position after its subtree.
  std::vector<int> subtree_end_;
  // Per handheld folder position paired by its pass: the desktop folder's
  // index in the pass's matcher, or -1 for none; and the desktop folders
  // paired, with the position each is kept for.
  std::unordered_map<int, int> paired_;
  std::unordered_map<const FavoriteItem*, int> kept_for_;
  // Per handheld position handled ahead of its turn (a folder renamed, a
  // favourite deleted): the desktop entry's index in the pass's matcher, or
  // -1 for none (always -1 for a deleted favourite, whose entry is gone);
  // and the positions whose names are being freed.
  std::unordered_map<int, int> handled_early_;
  std::unordered_set<int> freeing_;
};

}  // namespace kestro
