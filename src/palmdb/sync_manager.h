// The conduit's binding of the Sync Manager library (sync20): loaded once when
// the conduit library initialises, every function resolved by name. Callers
// reach the functions through SyncManager(); a nonzero result is a failure
// that they turn into EPalmSyncError (CheckSyncResult).
#pragma once

#include <string>

#include "hostapi/sync_manager.h"
#include "platform/dynamic_library.h"

namespace kestro {

struct SyncManagerFunctions {
  decltype(&::SyncOpenDB) SyncOpenDB = nullptr;
  decltype(&::SyncCloseDB) SyncCloseDB = nullptr;
  decltype(&::SyncCreateDB) SyncCreateDB = nullptr;
  decltype(&::SyncDeleteDB) SyncDeleteDB = nullptr;
  decltype(&::SyncGetDBRecordCount) SyncGetDBRecordCount = nullptr;
  decltype(&::SyncReadRecordByIndex) SyncReadRecordByIndex = nullptr;
  decltype(&::SyncReadRecordById) SyncReadRecordById = nullptr;
  decltype(&::SyncReadNextRecInCategory) SyncReadNextRecInCategory = nullptr;
  decltype(&::SyncReadNextModifiedRec) SyncReadNextModifiedRec = nullptr;
  decltype(&::SyncReadNextModifiedRecInCategory) SyncReadNextModifiedRecInCategory = nullptr;
  decltype(&::SyncWriteRec) SyncWriteRec = nullptr;
  decltype(&::SyncDeleteRec) SyncDeleteRec = nullptr;
  decltype(&::SyncPurgeAllRecs) SyncPurgeAllRecs = nullptr;
  decltype(&::SyncPurgeDeletedRecs) SyncPurgeDeletedRecs = nullptr;
  decltype(&::SyncResetRecordIndex) SyncResetRecordIndex = nullptr;
  decltype(&::SyncReadDBAppInfoBlock) SyncReadDBAppInfoBlock = nullptr;
  decltype(&::SyncWriteDBAppInfoBlock) SyncWriteDBAppInfoBlock = nullptr;
  decltype(&::SyncRegisterConduit) SyncRegisterConduit = nullptr;
  decltype(&::SyncUnRegisterConduit) SyncUnRegisterConduit = nullptr;
  decltype(&::SyncYieldCycles) SyncYieldCycles = nullptr;
};

// Loads sync20 from `folder` (made current while loading, then restored).
// Failure shows "hcdSyncMgr: Unable to load sync20.dll" and raises EAbort; a
// missing function raises EAssertionFailed naming Imports\Conduits\hcdSyncMgr.
void LoadSyncManager(const std::string& folder);
void UnloadSyncManager();
bool SyncManagerLoaded();

// The bound functions; raises EPalmDBError when the library is not loaded.
const SyncManagerFunctions& SyncManager();

}  // namespace kestro
