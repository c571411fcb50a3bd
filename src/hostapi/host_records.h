// Records the host hands to the conduit's entry points. The conduit reads and
// writes only the fields named in its code; the rest belongs to the host and is
// passed through unchanged. Layouts are fixed byte for byte.
#pragma once

#include "hostapi/host_api.h"

namespace kestro::hostapi {

// Sync types shared by the sync properties, the configuration record and the
// sync preference.
constexpr int32_t kSyncSynchronize = 0;
constexpr int32_t kSyncHandheldOverwritesDesktop = 2;
constexpr int32_t kSyncDesktopOverwritesHandheld = 3;
constexpr int32_t kSyncDoNothing = 6;

#pragma pack(push, 1)
// The record of one HotSync run, given to OpenConduit.
struct ThcdSyncProperties {
  int32_t m_SyncType;
  int32_t m_FirstDevice;      // host data from here on
  char m_UserName[64];
  char m_LocalName[256];      // the user's folder
  char m_PathName[256];       // the conduit's folder within it
  uint32_t m_UserId;
  int32_t m_RemoteDbCount;
};

// The configuration record of CfgConduit (352 bytes).
struct ThcdCfgConduitInfo {
  uint32_t dwVersion;
  uint32_t dwSize;
  uint32_t dwCreatorId;
  uint32_t dwUserId;          // host data, 12..79
  char szUser[64];
  char szTextBlock[256];      // 80..335
  int32_t syncPermanent;
  int32_t syncTemporary;
  int32_t syncNew;
  int32_t syncPref;
};

// The older sync preference record of ConfigureConduit.
struct SyncPreference {
  char text_block[256];
  char host_data[260];
  int32_t preference;  // 516: 1 permanent, 2 temporary
  int32_t sync_type;   // 520
};

// The request record of GetConduitInfo for the conduit's name.
struct ConduitInfoRequest {
  uint32_t version;  // must be 1
  uint32_t size;     // must be 80
  uint8_t host_data[72];
};
#pragma pack(pop)

KESTRO_ASSERT_OFFSET(ThcdSyncProperties, m_SyncType, 0);

KESTRO_ASSERT_OFFSET(ThcdCfgConduitInfo, dwVersion, 0);
KESTRO_ASSERT_OFFSET(ThcdCfgConduitInfo, dwSize, 4);
KESTRO_ASSERT_OFFSET(ThcdCfgConduitInfo, dwCreatorId, 8);
KESTRO_ASSERT_OFFSET(ThcdCfgConduitInfo, szTextBlock, 80);
KESTRO_ASSERT_OFFSET(ThcdCfgConduitInfo, syncPermanent, 336);
KESTRO_ASSERT_OFFSET(ThcdCfgConduitInfo, syncTemporary, 340);
KESTRO_ASSERT_OFFSET(ThcdCfgConduitInfo, syncNew, 344);
KESTRO_ASSERT_OFFSET(ThcdCfgConduitInfo, syncPref, 348);
static_assert(sizeof(ThcdCfgConduitInfo) == 352);

KESTRO_ASSERT_OFFSET(SyncPreference, text_block, 0);
KESTRO_ASSERT_OFFSET(SyncPreference, preference, 516);
KESTRO_ASSERT_OFFSET(SyncPreference, sync_type, 520);

KESTRO_ASSERT_OFFSET(ConduitInfoRequest, version, 0);
KESTRO_ASSERT_OFFSET(ConduitInfoRequest, size, 4);
static_assert(sizeof(ConduitInfoRequest) == 80);

}  // namespace kestro::hostapi
