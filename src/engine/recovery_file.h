// The recovery file: a copy, kept on the desktop, of the handheld's records as
// a run loaded them, made before the run empties the handheld database. When
// the run fails after that point the records are put back from it; when the
// link to the handheld is gone and nothing can be written, the file stays and
// the next run puts them back first. A completed run removes it.
//
// Format: "KRV2", the record count, then each record packed (RecID, Parent,
// Level, Status byte, Name and URL each with its length), all numbers
// little-endian, and a checksum of everything before it, so that a file cut
// short or damaged is known as such. A file of whole 1300-byte item images,
// as earlier versions wrote, still reads. One file per HotSync user.
#pragma once

#include <string>

#include "base/exception.h"
#include "favorites/favorite_item.h"
#include "palmdb/remote_table.h"

namespace kestro {

// A recovery file that does not hold what a run saved: empty, cut short or
// changed.
class ERecoveryDamaged : public Exception {
 public:
  using Exception::Exception;
};

// "KestroDB.krv" in the host program's folder, with the HotSync user's name
// (bytes other than letters, digits, '-' and '_' as %XX) before the dot.
std::string RecoveryFilePath(const std::string& user_name);

std::string PackRecovery(const FavoriteItemList& records);
// Raises ERecoveryDamaged unless bytes are a whole file as PackRecovery makes.
FavoriteItemList UnpackRecovery(const std::string& bytes);

// Writes the file in one replacement; raises Exception when it cannot.
void SaveRecovery(const std::string& path, const FavoriteItemList& records);
// Raises Exception when the file cannot be read, ERecoveryDamaged when it is
// damaged.
FavoriteItemList LoadRecovery(const std::string& path);
bool RecoveryPending(const std::string& path);
void RemoveRecovery(const std::string& path);
// Renames a damaged file to a free name beside it, kept for inspection, so
// it no longer stands in the way of later runs; the new name, or empty when
// it could not be renamed.
std::string SetRecoveryAside(const std::string& path);

struct RestoreOutcome {
  int records = 0;     // records written back
  int later_work = 0;  // of them, handheld records added or changed since the saved copy
};

// Puts the saved records back on the handheld, in their order and with their
// field values; each Parent follows its folder's new record ID. Records the
// handheld got or changed since (they carry edit marks) are kept, in their
// folders (see MergeLaterWork), and records that do not decode stay as they
// are. When records are kept, the file is first rewritten with them, so a
// restore cut short loses nothing. Opens and closes the table. Raises on any
// failure.
RestoreOutcome RestoreHandheld(ThcdPalmRemoteTable& table, const std::string& path,
                               const FavoriteItemList& saved);

}  // namespace kestro
