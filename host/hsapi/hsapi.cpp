// The HotSync API: asks the HotSync Manager to reread its conduits. The
// stand-in reads the registrations afresh on every HotSync, so a refresh only
// checks that they can be read; it answers how many there are.
#include "host_call.h"
#include "host_store.h"
#include "hostapi/hotsync_api.h"

KESTRO_HOST_API int32_t HsRefreshConduitInfo() {
  return kestro::host::HostCall(
      "HsRefreshConduitInfo", [] { return std::string(); }, -1,
      [](std::string* out) {
        if (out) *out = "conduits=" + std::to_string(kestro::host::ListConduits().size());
        return 0;
      });
}
