// The recovery file: a copy, kept on the desktop, of the handheld's records as
// a run loaded them, made before the run empties the handheld database. When
// the run fails after that point the records are put back from it; when the
// link to the handheld is gone and nothing can be written, the file stays and
// the next run puts them back first. A completed run removes it.
//
// Format: the records as 1300-byte item images, in record order, with their
// flags, Level, Parent and RecID as loaded. One file per HotSync user.
#pragma once

#include <string>

#include "favorites/favorite_item.h"
#include "palmdb/remote_table.h"

namespace kestro {

// "KestroDB.krv" in the host program's folder, with the HotSync user's name
// (bytes other than letters, digits, '-' and '_' as %XX) before the dot.
std::string RecoveryFilePath(const std::string& user_name);

// Writes the file in one step; raises Exception when it cannot.
void SaveRecovery(const std::string& path, const FavoriteItemList& records);
// Raises Exception when the file cannot be read or is damaged.
FavoriteItemList LoadRecovery(const std::string& path);
bool RecoveryPending(const std::string& path);
void RemoveRecovery(const std::string& path);

// Replaces every record of the handheld database by the saved records, in
// their order and with their field values; each Parent follows its folder's
// new record ID. Opens and closes the table. Raises on any failure.
void RestoreHandheld(ThcdPalmRemoteTable& table, const FavoriteItemList& records);

}  // namespace kestro
