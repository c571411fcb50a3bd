// The handheld side of the item list: the favourites table's settings, the
// bulk transfers between the handheld database "KestroDB" and item lists, and
// the writer that puts one item on the handheld as a new record. Records map
// to items field by field: Name, Parent, Level, Status (the six flags) and URL.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/record_writer.h"
#include "favorites/favorite_item.h"
#include "favorites/favorites_base.h"
#include "palmdb/remote_table.h"

namespace kestro {

// Sets the table up for "KestroDB" (creator "Kstr", type "DATA", version 0)
// with the fields Name, Parent, Level, Status and URL.
void ConfigureFavoritesTable(ThcdPalmRemoteTable& table);

// A handheld record whose bytes do not read as a favourite. A run never
// loads, rewrites or removes it: one damaged record must not stop every
// HotSync, and what it held may still be read by other means.
struct DamagedRecord {
  uint32_t id = 0;
  std::string reason;
};

// Every record of the open table as an item, in record order; records that
// do not decode are left out and named in `damaged`. Other failures raise
// through RaiseError with 3001. `as_written`, when given, tells whether every
// loaded record is exactly what TableRecordWriter would write for its item
// (with its Parent and Status byte): the same bytes, category 0 and no
// record attributes; only then can a run that would write the same items
// back leave the records as they are.
FavoriteItemList LoadPdbList(ThcdPalmRemoteTable& table, std::vector<DamagedRecord>& damaged,
                             bool* as_written = nullptr);

// Removes the loaded records from the open table before they are written
// again. With no damaged record the database is emptied in one call;
// otherwise each loaded record is deleted by its ID and the damaged ones stay.
void RemoveLoadedRecords(ThcdPalmRemoteTable& table, const FavoriteItemList& loaded, bool any_damaged);

// Replaces the loaded records by the store's items, in the store's order,
// each with the new ID of its folder's record as Parent; damaged records
// stay. Opens and closes the table. Failures raise through RaiseError with
// 3012.
void OverwriteHandheld(ThcdPalmRemoteTable& table, TFavoritesBase& store, const FavoriteItemList& loaded,
                       bool any_damaged);

// Writes items as new records of an open table.
class TableRecordWriter : public HandheldRecordWriter {
 public:
  explicit TableRecordWriter(ThcdPalmRemoteTable& table) : table_(table) {}
  int32_t WriteNewRecord(const FavoriteItem& item, int32_t parent, uint8_t status) override;

 private:
  ThcdPalmRemoteTable& table_;
};

}  // namespace kestro
