// A conduit library loaded by the hotsync program, with the entry points a
// HotSync Manager calls. A missing entry point is reported by name ("the
// conduit does not export CfgConduit") when it is needed, not at load.
#pragma once

#include <cstdint>
#include <string>

#include "hostapi/host_records.h"
#include "platform/dynamic_library.h"
#include "platform/export.h"

namespace kestro::hotsync {

using ProgressFn = void (*)(const char*);

class ConduitLibrary {
 public:
  // Loads the library; Error() says why when it did not load.
  explicit ConduitLibrary(const std::string& path);
  bool IsLoaded() const { return library_.IsLoaded(); }
  const std::string& Error() const { return error_; }
  const std::string& Path() const { return path_; }

  // Each call leaves the reason in Error() when the entry point is missing.
  bool Name(std::string& name);
  bool Version(uint32_t& version);
  bool OpenConduit(ProgressFn progress, hostapi::ThcdSyncProperties& props, int32_t& result);
  bool CfgConduit(hostapi::ThcdCfgConduitInfo& info, int32_t& result);
  bool RegisterServer(int32_t& result);
  bool UnregisterServer(int32_t& result);

 private:
  void* Need(const char* name);

  std::string path_;
  platform::DynamicLibrary library_;
  std::string error_;
};

}  // namespace kestro::hotsync
