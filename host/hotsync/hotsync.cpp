// hotsync: a command-line HotSync Manager for one user. This first version
// loads a conduit, asks its name, version and information, and runs one
// HotSync of it.
#include <cstdio>
#include <cstring>
#include <string>

#include "hostapi/host_records.h"
#include "platform/dynamic_library.h"
#include "platform/process_paths.h"

namespace {

using GetConduitNameFn = int32_t (*)(char*, uint16_t);
using GetConduitVersionFn = uint32_t (*)();
using GetConduitInfoFn = int32_t (*)(int32_t, void*, void*, uint32_t*);
using ProgressFn = void (*)(const char*);
using OpenConduitFn = int32_t (*)(ProgressFn, kestro::hostapi::ThcdSyncProperties*);

void ShowProgress(const char* text) { std::printf("  %s\n", text); }

int Usage() {
  std::fprintf(stderr, "usage: hotsync [--conduit PATH] [--sync-type N]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string conduit = kestro::platform::HostProgramFolder() + "Kestro.dll";
  int sync_type = 0;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--conduit" && i + 1 < argc) {
      conduit = argv[++i];
    } else if (arg == "--sync-type" && i + 1 < argc) {
      sync_type = std::atoi(argv[++i]);
    } else if (arg == "--help" || arg == "-h") {
      Usage();
      return 0;
    } else {
      return Usage();
    }
  }
  kestro::platform::DynamicLibrary library(conduit);
  if (!library.IsLoaded()) {
    std::fprintf(stderr, "hotsync: cannot load conduit %s: %s\n", conduit.c_str(), library.Error().c_str());
    return 1;
  }
  auto get_name = library.Function<GetConduitNameFn>("GetConduitName");
  auto get_version = library.Function<GetConduitVersionFn>("GetConduitVersion");
  auto get_info = library.Function<GetConduitInfoFn>("GetConduitInfo");
  auto open_conduit = library.Function<OpenConduitFn>("OpenConduit");
  if (!get_name || !get_version || !get_info || !open_conduit) {
    std::fprintf(stderr, "hotsync: %s is not a conduit\n", conduit.c_str());
    return 1;
  }
  char name[256] = {};
  if (get_name(name, sizeof name) != 0) {
    std::fprintf(stderr, "hotsync: the conduit did not start (no name)\n");
    return 1;
  }
  uint32_t version = get_version();
  uint32_t mfc = 0, size = 4;
  get_info(1, nullptr, &mfc, &size);
  std::printf("Conduit %s, version %u.%u, MFC version 0x%08X\n", name, version >> 8, version & 0xFF, mfc);
  kestro::hostapi::ThcdSyncProperties props{};
  props.m_SyncType = sync_type;
  std::printf("HotSync of %s, sync type %d\n", name, sync_type);
  int32_t result = open_conduit(ShowProgress, &props);
  std::printf("OpenConduit answered %d\n", result);
  return result == 0 ? 0 : 1;
}
