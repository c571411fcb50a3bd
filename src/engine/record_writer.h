// What the reconciliation needs of the handheld: write one item as a new
// record and learn the ID the handheld gave it. The run binds this to the
// favourites table; tests bind it to an in-memory handheld. A failed write
// raises.
#pragma once

#include <cstdint>

#include "favorites/favorite_item.h"

namespace kestro {

class HandheldRecordWriter {
 public:
  virtual ~HandheldRecordWriter() = default;
  // Writes Name, Level and URL of item with the given Parent and Status byte;
  // returns the new record's ID.
  virtual int32_t WriteNewRecord(const FavoriteItem& item, int32_t parent, uint8_t status) = 0;
};

// The Status byte of a desktop-only item: isUrl in bit 0, isClosed in bit 1,
// bit 2 always set; nothing else.
inline uint8_t AddedItemStatus(const FavoriteItem& item) {
  return static_cast<uint8_t>((item.isUrl ? 0x01 : 0) | (item.isClosed ? 0x02 : 0) | 0x04);
}

// The Status byte of an item written with its edit marks cleared: isUrl,
// isClosed and isVisible only.
inline uint8_t SettledItemStatus(const FavoriteItem& item) {
  return static_cast<uint8_t>(item.StatusAllFlags() & 0x07);
}

}  // namespace kestro
