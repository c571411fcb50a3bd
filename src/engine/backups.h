// Backups of what runs change, in the conduit's folder of the HotSync user:
// "Backups/<run ID>/" holds "desktop/" (a copy of the bookmark file, or every
// ".url" file the run deletes or overwrites under its path in the favourites
// folder), "handheld.krv" (the handheld's records after the run, in the
// recovery file's format) and "backup.txt" (the store and the run's summary).
// Only the newest BackupCount are kept. Failures raise Exception.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/run_report.h"
#include "favorites/favorite_item.h"
#include "favorites/favorites_base.h"

namespace kestro {

std::string BackupsFolder(const std::string& conduit_folder);
std::string BackupFolder(const std::string& conduit_folder, const std::string& id);

// Keeps what the plan would delete or overwrite on the desktop.
void BackUpDesktop(const std::string& folder, int32_t browser_type, const std::string& location,
                   const RunReport& plan);
// Keeps the handheld's records and describes the backup.
void KeepHandheldRecords(const std::string& folder, const FavoriteItemList& records, const RunReport& report,
                         int32_t browser_type, const std::string& location);
// The records a store's entries make on the handheld, each folder with an ID
// of its own and each entry with its folder's as Parent.
FavoriteItemList RecordsOf(const TFavoritesBase& store);
// Removes all but the newest keep backups.
void PruneBackups(const std::string& conduit_folder, int keep);

// Puts the backup's desktop files back, after keeping the files it
// overwrites in the backup at into. Raises when there is no such backup or
// it was made of another kind of store.
void RestoreDesktop(const std::string& from, const std::string& into, int32_t browser_type,
                    const std::string& location);

// Puts the backup's handheld records that the handheld lacks (same folder,
// title and address) back among handheld, marked new, so that the run
// carries them to the desktop as any new favourite; missing folders are made
// at the end of the top level. Never removes or changes a record. Returns
// how many records were added.
int MergeBackupRecords(FavoriteItemList& handheld, const std::string& backup_folder);

}  // namespace kestro
