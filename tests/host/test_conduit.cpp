// A small conduit for the hotsync program's tests: it writes a two-record
// favourites database through the Sync Manager, reports progress, logs, and
// registers itself for creator "Tst1". TEST_CONDUIT_MODE=fail makes its run
// answer 16387; =abort makes it log "sync aborted". It has no CfgConduit.
#include <cstdio>
#include <string>

#include "hostapi/conduit_manager.h"
#include "hostapi/host_records.h"
#include "hostapi/hotsync_log.h"
#include "hostapi/sync_manager.h"
#include "platform/dynamic_library.h"
#include "platform/environment.h"
#include "platform/export.h"
#include "platform/file_system.h"
#include "platform/process_paths.h"

namespace {

using kestro::platform::DynamicLibrary;

DynamicLibrary& Host(const char* name) {
  static DynamicLibrary* libraries[3] = {};
  int slot = std::string(name) == "sync20.dll" ? 0 : std::string(name) == "hslog20.dll" ? 1 : 2;
  if (!libraries[slot]) {
    libraries[slot] =
        new DynamicLibrary(kestro::platform::FolderOf(kestro::platform::OwnModuleFile()) + name);
  }
  return *libraries[slot];
}

template <typename F>
F Fn(const char* library, const char* name) {
  return Host(library).Function<F>(name);
}

void Log(const char* text, int32_t activity) {
  Fn<decltype(&LogAddEntry)>("hslog20.dll", "LogAddEntry")(text, activity, 0);
}

std::string FavoriteRecord(const std::string& name, uint32_t parent, uint16_t level, uint8_t status,
                           const std::string& url) {
  std::string r = name + '\0';
  for (int shift = 24; shift >= 0; shift -= 8) r += static_cast<char>((parent >> shift) & 0xFF);
  r += static_cast<char>(level >> 8);
  r += static_cast<char>(level & 0xFF);
  r += static_cast<char>(status);
  return r + url + '\0';
}

uint32_t Write(uint8_t handle, std::string data) {
  SyncRawRecord r{};
  r.handle = handle;
  r.record_size = static_cast<uint32_t>(data.size());
  r.buffer_size = static_cast<uint16_t>(data.size());
  r.buffer = reinterpret_cast<uint8_t*>(data.data());
  Fn<decltype(&SyncWriteRec)>("sync20.dll", "SyncWriteRec")(&r);
  return r.record_id;
}

}  // namespace

extern "C" KESTRO_EXPORT int32_t GetConduitName(char* buffer, uint16_t size) {
  std::snprintf(buffer, size, "Test Conduit");
  return 0;
}

extern "C" KESTRO_EXPORT uint32_t GetConduitVersion() { return 0x0102; }

extern "C" KESTRO_EXPORT int32_t OpenConduit(void (*progress)(const char*),
                                             kestro::hostapi::ThcdSyncProperties* props) {
  std::string mode = kestro::platform::GetEnv("TEST_CONDUIT_MODE").value_or("");
  Log("", 19);
  progress("Writing favourites");
  if (mode == "fail") return 16387;
  if (mode == "abort") {
    Log("Test Conduit - the test asked for it", 21);
    return 0;
  }
  std::string seen = std::to_string(props->m_SyncType) + "|" + props->m_UserName + "|" + props->m_LocalName + "|" +
                     props->m_PathName;
  kestro::platform::WriteFileAtomically(std::string(props->m_PathName) + kestro::platform::PathSeparator() +
                                            "props.txt",
                                        seen);
  SyncCreateDbBlock block{};
  std::snprintf(block.name, sizeof block.name, "KestroDB");
  block.creator = 0x4B737472;
  block.type = 0x44415441;
  uint8_t handle = 0;
  if (Fn<decltype(&SyncOpenDB)>("sync20.dll", "SyncOpenDB")("KestroDB", 0, &handle, 0xC0) != 0) {
    if (Fn<decltype(&SyncCreateDB)>("sync20.dll", "SyncCreateDB")(&block) != 0) return -1;
    handle = block.handle;
  }
  Fn<decltype(&SyncPurgeAllRecs)>("sync20.dll", "SyncPurgeAllRecs")(handle);
  uint32_t folder = Write(handle, FavoriteRecord("News", 0, 0, 0x04, ""));
  Write(handle, FavoriteRecord("BBC", folder, 1, 0x05, "http://www.bbc.co.uk/"));
  Fn<decltype(&SyncCloseDB)>("sync20.dll", "SyncCloseDB")(handle);
  progress("Done writing");
  Log("Test Conduit", 20);
  return 0;
}

extern "C" KESTRO_EXPORT int32_t KESTRO_STDCALL DllRegisterServer() {
  if (int32_t r = Fn<decltype(&CmInstallCreator)>("condmgr.dll", "CmInstallCreator")("Tst1", 1)) return r;
  Fn<decltype(&CmSetCreatorName)>("condmgr.dll", "CmSetCreatorName")("Tst1", kestro::platform::OwnModuleFile().c_str());
  Fn<decltype(&CmSetCreatorTitle)>("condmgr.dll", "CmSetCreatorTitle")("Tst1", "Test Conduit");
  Fn<decltype(&CmSetCreatorDirectory)>("condmgr.dll", "CmSetCreatorDirectory")("Tst1", "TestDir");
  return 0;
}

extern "C" KESTRO_EXPORT int32_t KESTRO_STDCALL DllUnregisterServer() {
  return Fn<decltype(&CmRemoveConduitByCreatorID)>("condmgr.dll", "CmRemoveConduitByCreatorID")("Tst1") > 0 ? 0 : 1;
}
