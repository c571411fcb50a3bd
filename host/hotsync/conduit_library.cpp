#include "conduit_library.h"

namespace kestro::hotsync {
namespace {

using GetConduitNameFn = int32_t (*)(char*, uint16_t);
using GetConduitVersionFn = uint32_t (*)();
using OpenConduitFn = int32_t (*)(ProgressFn, hostapi::ThcdSyncProperties*);
using CfgConduitFn = int32_t (*)(int32_t, hostapi::ThcdCfgConduitInfo*, uint32_t*);
// The two registration entry points are COM-style functions.
using ServerFn = int32_t(KESTRO_STDCALL*)();

}  // namespace

ConduitLibrary::ConduitLibrary(const std::string& path) : path_(path), library_(path) {
  if (!library_.IsLoaded()) error_ = "cannot load the conduit " + path + ": " + library_.Error();
}

void* ConduitLibrary::Need(const char* name) {
  void* symbol = IsLoaded() ? library_.Symbol(name) : nullptr;
  if (!symbol && IsLoaded()) error_ = "the conduit does not export " + std::string(name);
  return symbol;
}

bool ConduitLibrary::Name(std::string& name) {
  auto fn = reinterpret_cast<GetConduitNameFn>(Need("GetConduitName"));
  if (!fn) return false;
  char buffer[256] = {};
  if (fn(buffer, sizeof buffer) != 0) {
    error_ = "the conduit did not give its name";
    return false;
  }
  name = buffer;
  return true;
}

bool ConduitLibrary::Version(uint32_t& version) {
  auto fn = reinterpret_cast<GetConduitVersionFn>(Need("GetConduitVersion"));
  if (!fn) return false;
  version = fn();
  return true;
}

bool ConduitLibrary::OpenConduit(ProgressFn progress, hostapi::ThcdSyncProperties& props, int32_t& result) {
  auto fn = reinterpret_cast<OpenConduitFn>(Need("OpenConduit"));
  if (!fn) return false;
  result = fn(progress, &props);
  return true;
}

bool ConduitLibrary::CfgConduit(hostapi::ThcdCfgConduitInfo& info, int32_t& result) {
  auto fn = reinterpret_cast<CfgConduitFn>(Need("CfgConduit"));
  if (!fn) return false;
  uint32_t size = sizeof info;
  result = fn(0, &info, &size);
  return true;
}

bool ConduitLibrary::RegisterServer(int32_t& result) {
  auto fn = reinterpret_cast<ServerFn>(Need("DllRegisterServer"));
  if (!fn) return false;
  result = fn();
  return true;
}

bool ConduitLibrary::UnregisterServer(int32_t& result) {
  auto fn = reinterpret_cast<ServerFn>(Need("DllUnregisterServer"));
  if (!fn) return false;
  result = fn();
  return true;
}

}  // namespace kestro::hotsync
