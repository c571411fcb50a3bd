// The Sync Manager (sync20): the only road to the handheld's databases.
// Records are byte-packed and little-endian; offsets are asserted below, and
// the 32-bit sizes on 32-bit builds, where pointers are 4 bytes wide.
#pragma once

#include "hostapi/host_api.h"

namespace kestro::hostapi {

// Result codes the conduit and the stand-in handheld share.
constexpr int32_t kSyncErrNone = 0;
constexpr int32_t kSyncErrNotFound = 16387;       // database, record, ... not found
constexpr int32_t kSyncErrAlreadyOpen = 16396;    // database already opened
constexpr int32_t kSyncErrLinkLost = 268461072;   // connection with the handheld lost

// Open modes of SyncOpenDB.
constexpr uint8_t kOpenRead = 0x80;
constexpr uint8_t kOpenWrite = 0x40;
constexpr uint8_t kOpenShowSecret = 0x10;

constexpr uint32_t kMaxRecordSize = 65000;

#pragma pack(push, 1)
struct SyncRawRecord {
  uint8_t handle;
  uint32_t record_id;
  uint16_t index;
  uint8_t attributes;
  int16_t category;
  int32_t conduit_id;
  uint32_t record_size;
  uint16_t buffer_size;
  uint8_t* buffer;
  uint32_t reserved;
};

struct SyncCreateDbBlock {
  uint8_t handle;  // out
  uint32_t creator;
  uint32_t flags;
  uint8_t card;
  char name[32];
  uint32_t type;
  uint16_t version;
  uint32_t reserved;
};

struct SyncDbInfoBlock {
  char name[32];
  uint16_t total_bytes;
  uint16_t bytes_read;  // out
  uint8_t* buffer;
  uint32_t reserved;
};
#pragma pack(pop)

KESTRO_ASSERT_OFFSET(SyncRawRecord, handle, 0);
KESTRO_ASSERT_OFFSET(SyncRawRecord, record_id, 1);
KESTRO_ASSERT_OFFSET(SyncRawRecord, index, 5);
KESTRO_ASSERT_OFFSET(SyncRawRecord, attributes, 7);
KESTRO_ASSERT_OFFSET(SyncRawRecord, category, 8);
KESTRO_ASSERT_OFFSET(SyncRawRecord, conduit_id, 10);
KESTRO_ASSERT_OFFSET(SyncRawRecord, record_size, 14);
KESTRO_ASSERT_OFFSET(SyncRawRecord, buffer_size, 18);
KESTRO_ASSERT_OFFSET(SyncRawRecord, buffer, 20);
KESTRO_ASSERT_OFFSET(SyncRawRecord, reserved, 20 + sizeof(void*));

KESTRO_ASSERT_OFFSET(SyncCreateDbBlock, handle, 0);
KESTRO_ASSERT_OFFSET(SyncCreateDbBlock, creator, 1);
KESTRO_ASSERT_OFFSET(SyncCreateDbBlock, flags, 5);
KESTRO_ASSERT_OFFSET(SyncCreateDbBlock, card, 9);
KESTRO_ASSERT_OFFSET(SyncCreateDbBlock, name, 10);
KESTRO_ASSERT_OFFSET(SyncCreateDbBlock, type, 42);
KESTRO_ASSERT_OFFSET(SyncCreateDbBlock, version, 46);
KESTRO_ASSERT_OFFSET(SyncCreateDbBlock, reserved, 48);
static_assert(sizeof(SyncCreateDbBlock) == 52);

KESTRO_ASSERT_OFFSET(SyncDbInfoBlock, name, 0);
KESTRO_ASSERT_OFFSET(SyncDbInfoBlock, total_bytes, 32);
KESTRO_ASSERT_OFFSET(SyncDbInfoBlock, bytes_read, 34);
KESTRO_ASSERT_OFFSET(SyncDbInfoBlock, buffer, 36);
KESTRO_ASSERT_OFFSET(SyncDbInfoBlock, reserved, 36 + sizeof(void*));

#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(SyncRawRecord) == 28);
static_assert(sizeof(SyncDbInfoBlock) == 44);
#endif

}  // namespace kestro::hostapi

using kestro::hostapi::SyncCreateDbBlock;
using kestro::hostapi::SyncDbInfoBlock;
using kestro::hostapi::SyncRawRecord;

KESTRO_HOST_API int32_t SyncOpenDB(const char* name, int32_t card, uint8_t* handle, uint8_t mode);
KESTRO_HOST_API int32_t SyncCloseDB(uint8_t handle);
KESTRO_HOST_API int32_t SyncCreateDB(SyncCreateDbBlock* block);
KESTRO_HOST_API int32_t SyncDeleteDB(const char* name, int32_t card);
KESTRO_HOST_API int32_t SyncGetDBRecordCount(uint8_t handle, uint16_t* count);
KESTRO_HOST_API int32_t SyncReadRecordByIndex(SyncRawRecord* record);
KESTRO_HOST_API int32_t SyncReadRecordById(SyncRawRecord* record);
KESTRO_HOST_API int32_t SyncReadNextRecInCategory(SyncRawRecord* record);
KESTRO_HOST_API int32_t SyncReadNextModifiedRec(SyncRawRecord* record);
KESTRO_HOST_API int32_t SyncReadNextModifiedRecInCategory(SyncRawRecord* record);
KESTRO_HOST_API int32_t SyncWriteRec(SyncRawRecord* record);
KESTRO_HOST_API int32_t SyncDeleteRec(SyncRawRecord* record);
KESTRO_HOST_API int32_t SyncPurgeAllRecs(uint8_t handle);
KESTRO_HOST_API int32_t SyncPurgeDeletedRecs(uint8_t handle);
KESTRO_HOST_API int32_t SyncResetRecordIndex(uint8_t handle);
KESTRO_HOST_API int32_t SyncReadDBAppInfoBlock(uint8_t handle, SyncDbInfoBlock* info);
KESTRO_HOST_API int32_t SyncWriteDBAppInfoBlock(uint8_t handle, SyncDbInfoBlock* info);
KESTRO_HOST_API int32_t SyncRegisterConduit(uint32_t* handle);
KESTRO_HOST_API int32_t SyncUnRegisterConduit(uint32_t handle);
KESTRO_HOST_API int32_t SyncYieldCycles(uint16_t max_milliseconds);
