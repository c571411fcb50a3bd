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

// One entry as the user sees it: where it is, what it is called, where it
// points (empty for a folder).
struct TreeEntry {
  // "" (or none) at the top level, else "\A\B". One string for all the
  // entries of a folder: a copy for each would hold a deep tree's paths in
  // the square of its depth, several times over.
  std::shared_ptr<const std::string> folder_path;
  std::string title;
  std::string url;
  bool is_url = false;

  const std::string& folder() const;
};
using TreeEntries = std::vector<TreeEntry>;

// The entries of a depth-first list by its Level fields; items marked
// deleted are left out when skip_deleted is set (a deletion the handheld
// already made is not the run's).
TreeEntries EntriesOf(const std::vector<FavoriteItem*>& items, bool skip_deleted);
TreeEntries EntriesOf(const FavoriteItemList& items, bool skip_deleted);
// The path of the folder called name inside folder (null: the top level).
std::shared_ptr<const std::string> SubfolderPath(const std::shared_ptr<const std::string>& folder,
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
  // Adds one line per action to the end of text: side, action, folder,
  // title, old URL, new URL, separated by tabs (tabs and line breaks inside
  // a field as spaces). Added, not returned: in a deep tree the detail is
  // large, and a copy of it would double the run's memory.
  void AppendDetail(std::string& text) const;

 private:
  std::vector<RunAction> actions_;
  SideCounts handheld_, desktop_;
};

}  // namespace kestro
