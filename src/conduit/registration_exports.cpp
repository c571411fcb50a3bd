// The self-registration entry points: the conduit installs itself with the
// loaded Conduit Manager, and removes itself again.
#include "conduit/exports.h"
#include "conduit/registration.h"
#include "platform/process_paths.h"

namespace {

// The loaded host libraries; a library that is not loaded leaves its table
// out, which the registration answers with E_FAIL.
kestro::RegistrationHost LoadedHost() {
  kestro::RegistrationHost host;
  try {
    host.conduit_manager = &kestro::ConduitManager();
  } catch (...) {
  }
  try {
    host.hotsync_api = &kestro::HotSyncApi();
  } catch (...) {
  }
  try {
    host.user_data = &kestro::UserData();
  } catch (...) {
  }
  host.library_path = kestro::platform::OwnModuleFile();
  return host;
}

}  // namespace

extern "C" {

int32_t DllRegisterServer() {
  try {
    return kestro::RegisterServer(LoadedHost());
  } catch (...) {
    return kestro::kEFail;
  }
}

int32_t DllUnregisterServer() {
  try {
    return kestro::UnregisterServer(LoadedHost());
  } catch (...) {
    return kestro::kEFail;
  }
}

}  // extern "C"
