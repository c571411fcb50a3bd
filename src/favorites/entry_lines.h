// Which line of the bookmark file each entry stands on, kept in step while
// lines are inserted and erased. The lines sit side by side in one array, so
// renumbering them all for an inserted line is a quick pass over memory,
// not a walk through a hash table: adding thousands of entries to a large
// file stays fast.
#pragma once

#include <cstddef>
#include <unordered_map>
#include <vector>

#include "favorites/favorite_item.h"

namespace kestro {

class EntryLines {
 public:
  void Clear();
  // The entry stands on line.
  void Set(const FavoriteItem* entry, std::size_t line);
  // False for an entry on no line.
  bool Find(const FavoriteItem* entry, std::size_t& line) const;
  // count lines were inserted before line at: entries from at on move down.
  void Inserted(std::size_t at, std::size_t count);
  // Lines [from, to) were erased: their entries are on no line any more, the
  // ones after move up.
  void Erased(std::size_t from, std::size_t to);

 private:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  std::unordered_map<const FavoriteItem*, std::size_t> slot_of_;
  std::vector<std::size_t> lines_;  // by slot; kNone once its entry left
};

}  // namespace kestro
