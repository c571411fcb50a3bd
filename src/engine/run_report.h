// What a run changes, side by side: the favourites and folders of each side
// before and after, and the difference as one action per entry (added,
// changed, deleted). The same report describes a preview and a real run, so
// the two can be compared line by line. The summary is the HotSync log's
// line; the detail is one tab-separated line per action.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "favorites/favorite_item.h"

namespace kestro {

// A folder's place in the tree: its name inside its parent's place (none:
// the top level). The entries of a folder and of its subfolders share it, so
// a tree nested thousands deep holds each name once rather than each folder's
// whole path, which would grow with the square of the depth.
struct FolderPath {
  FolderPath(std::shared_ptr<const FolderPath> parent, std::string_view name);
  FolderPath(const FolderPath&) = delete;
  FolderPath& operator=(const FolderPath&) = delete;
  // Frees a chain of parents no one else holds one level at a time: freeing
  // each from the one below it would take a call per level.
  ~FolderPath();

  // Mutable only for the destructor, which unlinks the chain as it frees it.
  mutable std::shared_ptr<const FolderPath> parent;
  std::string name;
  std::size_t length;  // of the whole path, "\A\B"
};

// One entry as the user sees it: where it is, what it is called, where it
// points (empty for a folder).
struct TreeEntry {
  std::shared_ptr<const FolderPath> folder_path;  // none at the top level
  std::string title;
  std::string url;
  bool is_url = false;

  // "" at the top level, else "\A\B": as long as the folder is deep.
  std::string folder() const;
};
using TreeEntries = std::vector<TreeEntry>;

// The entries of a depth-first list by its Level fields; items marked
// deleted are left out when skip_deleted is set (a deletion the handheld
// already made is not the run's).
TreeEntries EntriesOf(const std::vector<FavoriteItem*>& items, bool skip_deleted);
TreeEntries EntriesOf(const FavoriteItemList& items, bool skip_deleted);
// The place of the folder called name inside folder (null: the top level).
std::shared_ptr<const FolderPath> SubfolderPath(const std::shared_ptr<const FolderPath>& folder,
                                                std::string_view name);

struct RunAction {
  std::string side;    // "handheld" or "desktop"
  std::string action;  // "added", "changed" or "deleted"
  TreeEntry entry;     // for a change, the entry with its new URL
  std::string old_url;
};

struct SideCounts {
  int added = 0, changed = 0, deleted = 0;
  int favorites_before = 0;  // favourites (not folders) on the side before the run
  int favorites_deleted = 0;  // of them, those the side holds in no other folder either
  int entries_after = 0;  // favourites and folders on the side after the run
};

class RunReport {
 public:
  // Adds the difference of one side's entries before and after the run.
  // Entries pair by folder, title and kind; a pair whose URL differs is a
  // change.
  void AddSide(const std::string& side, const TreeEntries& before, const TreeEntries& after);

  const std::vector<RunAction>& Actions() const { return actions_; }
  const SideCounts& Handheld() const { return handheld_; }
  const SideCounts& Desktop() const { return desktop_; }
  bool Empty() const { return actions_.empty(); }
  bool ChangesDesktop() const;

  // "handheld: 3 added, 1 changed, 2 deleted; desktop: 4 added, 0 changed, 1 deleted"
  std::string Summary() const;
  // The longest folder a detail line writes whole. A longer one is written
  // as "…" and its last names that fit (the last name at least), so that a
  // line does not grow with the depth of the tree.
  static constexpr std::size_t kDetailFolderLimit = 1000;

  // Adds one line per action to the end of text: side, action, folder,
  // title, old URL, new URL, separated by tabs (tabs and line breaks inside
  // a field as spaces). Added, not returned: a copy of a long detail would
  // double the run's memory.
  void AppendDetail(std::string& text) const;

 private:
  std::vector<RunAction> actions_;
  SideCounts handheld_, desktop_;
};

}  // namespace kestro
