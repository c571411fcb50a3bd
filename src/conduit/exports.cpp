// The identity and run entry points: name, version, information, one HotSync
// run, and the two COM answers of a library that serves no classes.
#include "conduit/exports.h"

#include <algorithm>
#include <cstring>

#include "conduit/palm_component.h"
#include "palmdb/sync_errors.h"

using kestro::FindConduitComponent;

extern "C" {

int32_t GetConduitName(char* buffer, uint16_t length) {
  try {
    const std::string& name = FindConduitComponent().ConduitName();
    if (!buffer || length == 0) return -1;  // the host always gives room for the NUL
    std::size_t n = std::min<std::size_t>(name.size(), length - 1u);
    std::memcpy(buffer, name.data(), n);
    buffer[n] = '\0';
    return 0;
  } catch (...) {
    return -1;
  }
}

uint32_t GetConduitVersion() {
  try {
    return FindConduitComponent().Version();
  } catch (...) {
    return 0;
  }
}

int32_t GetConduitInfo(int32_t info_type, void* request, void* output, uint32_t* output_size) {
  const kestro::ThcdPalmComponent* component = nullptr;
  try {
    component = &FindConduitComponent();
  } catch (...) {
    return 1;
  }
  if (!output) return 4209;
  if (!output_size) return 4215;
  switch (info_type) {
    case 0: {  // the conduit's name
      if (!request) return 4212;
      auto* req = static_cast<const kestro::hostapi::ConduitInfoRequest*>(request);
      if (req->version != 1 || req->size != 80) return 4213;
      if (*output_size == 0) return 4211;  // no room even for the NUL
      const std::string& name = component->ConduitName();
      std::size_t n = std::min<std::size_t>(name.size(), *output_size - 1u);
      std::memcpy(output, name.data(), n);
      static_cast<char*>(output)[n] = '\0';
      return 0;
    }
    case 1: {  // the MFC version the conduit was built for
      if (*output_size != 4) return 4211;
      uint32_t value = 0x10000000;
      std::memcpy(output, &value, 4);
      return 0;
    }
    case 2: {  // the default action: synchronise
      if (*output_size != 4) return 4211;
      int32_t value = kestro::hostapi::kSyncSynchronize;
      std::memcpy(output, &value, 4);
      return 0;
    }
    default:
      return 4208;
  }
}

int32_t OpenConduit(KestroProgressFn progress, ThcdSyncProperties* props) {
  kestro::ThcdPalmComponent* component = nullptr;
  try {
    component = &FindConduitComponent();
  } catch (...) {
    return -1;
  }
  if (!props) return -1;  // the host always passes its record
  int32_t result = 0;
  component->SetProgressCallback(progress);
  try {
    component->ExecConduit(*props);
  } catch (const kestro::EPalmSyncError& e) {
    result = e.ErrorCode();
  } catch (...) {
    result = -1;
  }
  component->SetProgressCallback(nullptr);
  return result;
}

int32_t DllGetClassObject(const void*, const void*, void**) { return kestro::kClassENotAvailable; }

int32_t DllCanUnloadNow() { return 0; }

}  // extern "C"
