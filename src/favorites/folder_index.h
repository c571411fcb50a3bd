// A lookup aid over a store's pre-order list: where each entry is and where
// its subtree ends, and for each folder, the first folder of a name directly
// inside it. Built in one pass; the store rebuilds it after a change, so
// finding every folder of a large store does not rescan the list each time.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "favorites/favorite_item.h"

namespace kestro {

class FolderIndex {
 public:
  // kTop stands for the top level as a container.
  static constexpr int32_t kTop = -1;

  void Build(const std::vector<FavoriteItem*>& entries);

  // The index after entry i's subtree: the first later entry whose Level is
  // not greater than entry i's (the list's count when there is none).
  int32_t SubtreeEnd(int32_t i) const { return subtree_end_[static_cast<std::size_t>(i)]; }
  // The first folder named name (A-Z folded) directly inside container
  // (kTop: a folder of Level 0), or -1.
  int32_t ChildFolder(int32_t container, std::string_view name) const;
  // The first favourite named name directly inside container, or -1.
  int32_t ChildFavorite(int32_t container, std::string_view name) const;
  // Where the entry is in the list, or -1.
  int32_t IndexOf(const FavoriteItem* entry) const;
  // Records where an entry was put after the index was built, for IndexOf's
  // answer to be checked against the list (see TFavoritesBase::IndexOf).
  void NotePosition(const FavoriteItem* entry, int32_t position) { positions_[entry] = position; }

 private:
  static std::string Key(int32_t container, std::string_view name);
  std::vector<int32_t> subtree_end_;
  std::unordered_map<std::string, int32_t> folders_;
  std::unordered_map<std::string, int32_t> favorites_;
  std::unordered_map<const FavoriteItem*, int32_t> positions_;
};

}  // namespace kestro
