// The entry points the HotSync host calls, with C linkage. Each is a thin shim
// that catches everything and answers the host's number; no exception ever
// crosses this boundary.
#pragma once

#include <cstdint>

#include "hostapi/host_records.h"
#include "platform/export.h"

using kestro::hostapi::SyncPreference;
using kestro::hostapi::ThcdCfgConduitInfo;
using kestro::hostapi::ThcdSyncProperties;

extern "C" {

typedef void(KESTRO_CDECL* KestroProgressFn)(const char* text);

KESTRO_EXPORT int32_t KESTRO_CDECL GetConduitName(char* buffer, uint16_t length);
KESTRO_EXPORT uint32_t KESTRO_CDECL GetConduitVersion();
KESTRO_EXPORT int32_t KESTRO_CDECL GetConduitInfo(int32_t info_type, void* request, void* output,
                                                  uint32_t* output_size);
KESTRO_EXPORT int32_t KESTRO_CDECL OpenConduit(KestroProgressFn progress, ThcdSyncProperties* props);
KESTRO_EXPORT int32_t KESTRO_CDECL CfgConduit(int32_t config_type, ThcdCfgConduitInfo* data, uint32_t* size);
KESTRO_EXPORT int32_t KESTRO_CDECL ConfigureConduit(SyncPreference* preference);
KESTRO_EXPORT int32_t KESTRO_STDCALL DllRegisterServer();
KESTRO_EXPORT int32_t KESTRO_STDCALL DllUnregisterServer();
KESTRO_EXPORT int32_t KESTRO_STDCALL DllGetClassObject(const void* class_id, const void* interface_id,
                                                       void** result);
KESTRO_EXPORT int32_t KESTRO_STDCALL DllCanUnloadNow();

}  // extern "C"

namespace kestro {
constexpr int32_t kClassENotAvailable = static_cast<int32_t>(0x80040111u);  // CLASS_E_CLASSNOTAVAILABLE
constexpr int32_t kEFail = static_cast<int32_t>(0x80004005u);               // E_FAIL
}  // namespace kestro
