// The two configuration entry points. Both end in the component's
// ConfigConduit; no exception leaves them and no message is shown.
#include <cstring>

#include "conduit/configure_conduit.h"
#include "conduit/exports.h"
#include "conduit/palm_component.h"

namespace {

constexpr int32_t kCfgNoData = 4212;
constexpr int32_t kCfgNoSize = 4216;
constexpr int32_t kCfgBadSize = 4218;
constexpr int32_t kCfgBadType = 4219;

int32_t RunConfiguration(ThcdCfgConduitInfo& data) {
  try {
    kestro::ConfigConduit(kestro::FindConduitComponent(), data);
    return 0;
  } catch (...) {
    return -1;
  }
}

}  // namespace

extern "C" {

int32_t CfgConduit(int32_t config_type, ThcdCfgConduitInfo* data, uint32_t* size) {
  if (!data) return kCfgNoData;
  if (!size) return kCfgNoSize;
  if (*size != sizeof(ThcdCfgConduitInfo)) return kCfgBadSize;
  if (config_type != 0) return kCfgBadType;
  return RunConfiguration(*data);
}

int32_t ConfigureConduit(SyncPreference* preference) {
  if (!preference) return -1;  // the host always passes its record
  try {
    const kestro::ThcdPalmComponent* component = nullptr;
    try {
      component = &kestro::FindConduitComponent();
    } catch (...) {
    }
    ThcdCfgConduitInfo info = kestro::CfgInfoFromPreference(*preference, component);
    int32_t result = RunConfiguration(info);
    if (result == 0) {
      preference->preference = info.syncPref;
      preference->sync_type = info.syncNew;
    }
    return result;
  } catch (...) {
    return -1;
  }
}

}  // extern "C"
