// The handheld side of the item list: the favourites table's settings, the
// bulk transfers between the handheld database "KestroDB" and item lists, and
// the writer that puts one item on the handheld as a new record. Records map
// to items field by field: Name, Parent, Level, Status (the six flags) and URL.
#pragma once

#include <cstdint>

#include "engine/record_writer.h"
#include "favorites/favorite_item.h"
#include "favorites/favorites_base.h"
#include "palmdb/remote_table.h"

namespace kestro {

// Sets the table up for "KestroDB" (creator "Kstr", type "DATA", version 0)
// with the fields Name, Parent, Level, Status and URL.
void ConfigureFavoritesTable(ThcdPalmRemoteTable& table);

// Every record of the open table as an item, in record order. Failures raise
// through RaiseError with 3001.
FavoriteItemList LoadPdbList(ThcdPalmRemoteTable& table);

// Replaces every record by the store's items, in the store's order, each with
// the new ID of its folder's record as Parent. Opens and closes the table.
// Failures raise through RaiseError with 3012.
void OverwriteHandheld(ThcdPalmRemoteTable& table, TFavoritesBase& store);

// Writes items as new records of an open table.
class TableRecordWriter : public HandheldRecordWriter {
 public:
  explicit TableRecordWriter(ThcdPalmRemoteTable& table) : table_(table) {}
  int32_t WriteNewRecord(const FavoriteItem& item, int32_t parent, uint8_t status) override;

 private:
  ThcdPalmRemoteTable& table_;
};

}  // namespace kestro
