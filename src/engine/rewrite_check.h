// Stands in for the handheld in a preview and tells whether the run would
// write back exactly the records it read: the same records in the same
// order, with the same fields, each Parent naming the same folder. A run for
// which that holds can leave the handheld as it is.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/record_writer.h"
#include "favorites/favorite_item.h"

namespace kestro {

class RewriteCheck : public HandheldRecordWriter {
 public:
  // loaded: the handheld's records as read, before the run changed anything.
  explicit RewriteCheck(const FavoriteItemList& loaded) : loaded_(loaded) {}
  // Keeps nothing; the n-th record written takes ID n.
  int32_t WriteNewRecord(const FavoriteItem& item, int32_t parent, uint8_t status) override;
  bool WritesBackAsLoaded() const { return same_ && written_ == loaded_.size(); }

 private:
  bool SameAsLoaded(std::size_t at, const FavoriteItem& item, int32_t parent, uint8_t status) const;

  const FavoriteItemList& loaded_;
  std::size_t written_ = 0;
  bool same_ = true;
};

}  // namespace kestro
