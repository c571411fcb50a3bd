// First stand-in Sync Manager: registration and yielding only; the simulated
// handheld's databases come next.
#include "hostapi/sync_manager.h"

KESTRO_HOST_API int32_t SyncOpenDB(const char*, int32_t, uint8_t*, uint8_t) { return kestro::hostapi::kSyncErrNotFound; }
KESTRO_HOST_API int32_t SyncCloseDB(uint8_t) { return kestro::hostapi::kSyncErrNotFound; }
KESTRO_HOST_API int32_t SyncCreateDB(SyncCreateDbBlock*) { return 16399; }
KESTRO_HOST_API int32_t SyncDeleteDB(const char*, int32_t) { return kestro::hostapi::kSyncErrNotFound; }
KESTRO_HOST_API int32_t SyncGetDBRecordCount(uint8_t, uint16_t*) { return 16393; }
KESTRO_HOST_API int32_t SyncReadRecordByIndex(SyncRawRecord*) { return 16393; }
KESTRO_HOST_API int32_t SyncReadRecordById(SyncRawRecord*) { return 16393; }
KESTRO_HOST_API int32_t SyncReadNextRecInCategory(SyncRawRecord*) { return 16393; }
KESTRO_HOST_API int32_t SyncReadNextModifiedRec(SyncRawRecord*) { return 16393; }
KESTRO_HOST_API int32_t SyncReadNextModifiedRecInCategory(SyncRawRecord*) { return 16393; }
KESTRO_HOST_API int32_t SyncWriteRec(SyncRawRecord*) { return 16393; }
KESTRO_HOST_API int32_t SyncDeleteRec(SyncRawRecord*) { return 16393; }
KESTRO_HOST_API int32_t SyncPurgeAllRecs(uint8_t) { return 16393; }
KESTRO_HOST_API int32_t SyncPurgeDeletedRecs(uint8_t) { return 16393; }
KESTRO_HOST_API int32_t SyncResetRecordIndex(uint8_t) { return 16393; }
KESTRO_HOST_API int32_t SyncReadDBAppInfoBlock(uint8_t, SyncDbInfoBlock*) { return 16393; }
KESTRO_HOST_API int32_t SyncWriteDBAppInfoBlock(uint8_t, SyncDbInfoBlock*) { return 16393; }

static uint32_t g_registered = 0;
KESTRO_HOST_API int32_t SyncRegisterConduit(uint32_t* handle) {
  if (!handle) return 16390;
  *handle = ++g_registered;
  return 0;
}
KESTRO_HOST_API int32_t SyncUnRegisterConduit(uint32_t) { return 0; }
KESTRO_HOST_API int32_t SyncYieldCycles(uint16_t) { return 0; }
