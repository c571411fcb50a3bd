#include "engine/tree_order.h"

#include <vector>

namespace kestro {

int RepairTreeOrder(FavoriteItemList& items) {
  struct OpenFolder {
    int32_t loaded_level;
    int32_t level;
  };
  std::vector<OpenFolder> open;  // the folders enclosing the next record
  int changed = 0;
  for (auto& item : items) {
    int32_t loaded = item->Level;
    while (!open.empty() && open.back().loaded_level >= loaded) open.pop_back();
    int32_t level = open.empty() ? 0 : open.back().level + 1;
    if (level != loaded) {
      item->Level = level;
      ++changed;
    }
    if (!item->isUrl) open.push_back({loaded, level});
  }
  return changed;
}

}  // namespace kestro
