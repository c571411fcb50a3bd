#include "engine/rewrite_check.h"

namespace kestro {

int32_t RewriteCheck::WriteNewRecord(const FavoriteItem& item, int32_t parent, uint8_t status) {
  const std::size_t at = written_++;
  if (same_) same_ = SameAsLoaded(at, item, parent, status);
  return static_cast<int32_t>(at + 1);
}

bool RewriteCheck::SameAsLoaded(std::size_t at, const FavoriteItem& item, int32_t parent, uint8_t status) const {
  if (at >= loaded_.size()) return false;
  const FavoriteItem& loaded = *loaded_[at];
  // A Parent is the ID of a record written before this one: the loaded
  // record at that place must be the folder the loaded record names.
  const bool same_parent = parent == 0 ? loaded.Parent == 0
                                       : parent > 0 && static_cast<std::size_t>(parent) <= at &&
                                             loaded_[static_cast<std::size_t>(parent) - 1]->RecID == loaded.Parent;
  return same_parent && loaded.Level == item.Level && loaded.StatusAllFlags() == status &&
         loaded.NameText() == item.NameText() && loaded.URLText() == item.URLText();
}

}  // namespace kestro
