#include "conduit/host_libraries.h"

#include <memory>
#include <optional>
#include <utility>

#include "base/exception.h"
#include "palmdb/sync_errors.h"
#include "palmdb/sync_manager.h"
#include "platform/dynamic_library.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/process_paths.h"
#include "platform/registry.h"

namespace kestro {
namespace {

template <typename Functions>
struct Binding {
  platform::DynamicLibrary library;
  Functions functions;
};

struct Bindings {
  std::unique_ptr<Binding<UserDataFunctions>> user_data;
  std::unique_ptr<Binding<HotSyncLogFunctions>> hotsync_log;
  std::unique_ptr<Binding<HotSyncApiFunctions>> hotsync_api;
  std::unique_ptr<Binding<ConduitManagerFunctions>> conduit_manager;
  std::unique_ptr<Binding<InstallAideFunctions>> install_aide;
  std::optional<std::string> folder;  // HotSyncLibraryFolder, once found
};

// Made on first use and freed by UnloadHostLibraries. A plain pointer, so
// that the runtime's exit-time destructors never free it before the unload.
Bindings* bindings = nullptr;

Bindings& TheBindings() {
  if (!bindings) bindings = new Bindings();
  return *bindings;
}

// Loads HotSyncLibraryFolder() + file; null when the handle is not valid.
template <typename Functions>
std::unique_ptr<Binding<Functions>> Load(const char* file, const char* unit) {
  auto binding = std::make_unique<Binding<Functions>>();
  binding->library = platform::DynamicLibrary(HotSyncLibraryFolder() + file);
  if (!binding->library.IsLoaded()) {
    platform::ShowMessageBox(std::string(unit) + ": Unable to load " + file, "Error",
                             platform::MessageIcon::kError);
    return nullptr;
  }
  return binding;
}

const UserDataFunctions kNoUserData{};

}  // namespace

std::string HotSyncPathFolder(const std::string& hotsync_path) {
  // "/" ends a folder too: Linux paths have no other separator, and Windows
  // takes either.
  return platform::FolderOf(hotsync_path.substr(0, hotsync_path.find('\0')));
}

std::string HotSyncLibraryFolder() {
  auto& cached = TheBindings().folder;
  if (cached) return *cached;
  std::string folder;
  std::string own_folder = platform::FolderOf(platform::OwnModuleFile());
  std::string user_data = own_folder + platform::PlatformLibraryName("userdata.dll");
  if (!own_folder.empty() && platform::FileExists(user_data)) {
    platform::DynamicLibrary library(own_folder + "userdata.dll");
    if (auto get_root = library.Function<decltype(&::UmGetRootDirectory)>("UmGetRootDirectory")) {
      char buffer[260] = {};
      int16_t size = 260;
      get_root(buffer, &size);
      buffer[259] = '\0';
      folder = buffer;
    }
  }
  if (folder.empty()) {
    if (auto key =
            platform::OpenCurrentUserKey("Software\\U.S. Robotics\\Pilot Desktop\\Core", false)) {
      if (auto value = key->Read("HotSyncPath")) folder = HotSyncPathFolder(value->data);
    }
  }
  if (!folder.empty() && folder.back() != '\\' && folder.back() != '/')
    folder += platform::PathSeparator();
  cached = folder;
  return folder;
}

void LoadHostLibraries() {
  UnloadHostLibraries();
  Bindings& b = TheBindings();
  try {
    // userdata: a failure is shown but excused.
    b.user_data = Load<UserDataFunctions>("userdata.dll", "hcdUserData");
    if (b.user_data) {
      const char* src = "Imports\\Conduits\\hcdUserData";
      auto& lib = b.user_data->library;
      auto& f = b.user_data->functions;
      lib.Require(f.UmGetUserCount, "UmGetUserCount", src, __LINE__);
      lib.Require(f.UmGetUserID, "UmGetUserID", src, __LINE__);
      lib.Require(f.UmGetUserDirectory, "UmGetUserDirectory", src, __LINE__);
      lib.Require(f.UmGetRootDirectory, "UmGetRootDirectory", src, __LINE__);
    }

    LoadSyncManager(HotSyncLibraryFolder());

    b.hotsync_log = Load<HotSyncLogFunctions>("hslog20.dll", "hcdHslog");
    if (!b.hotsync_log) throw EAbort();
    b.hotsync_log->library.Require(b.hotsync_log->functions.LogAddEntry, "LogAddEntry",
                                   "Imports\\Conduits\\hcdHslog", __LINE__);

    b.hotsync_api = Load<HotSyncApiFunctions>("hsapi.dll", "hcdHSAPI");
    if (!b.hotsync_api) throw EAbort();
    b.hotsync_api->library.Require(b.hotsync_api->functions.HsRefreshConduitInfo,
                                   "HsRefreshConduitInfo", "Imports\\Conduits\\hcdHSAPI", __LINE__);

    b.conduit_manager = Load<ConduitManagerFunctions>("condmgr.dll", "hcdCondMgre");
    if (!b.conduit_manager) throw EAbort();
    {
      const char* src = "Imports\\Conduits\\hcdCondMgre";
      auto& lib = b.conduit_manager->library;
      auto& f = b.conduit_manager->functions;
      lib.Require(f.CmInstallCreator, "CmInstallCreator", src, __LINE__);
      lib.Require(f.CmSetCreatorName, "CmSetCreatorName", src, __LINE__);
      lib.Require(f.CmSetCreatorTitle, "CmSetCreatorTitle", src, __LINE__);
      lib.Require(f.CmSetCreatorDirectory, "CmSetCreatorDirectory", src, __LINE__);
      lib.Require(f.CmSetCreatorFile, "CmSetCreatorFile", src, __LINE__);
      lib.Require(f.CmSetCreatorRemote, "CmSetCreatorRemote", src, __LINE__);
      lib.Require(f.CmSetCreatorInfo, "CmSetCreatorInfo", src, __LINE__);
      lib.Require(f.CmSetCreatorPriority, "CmSetCreatorPriority", src, __LINE__);
      lib.Require(f.CmRemoveConduitByCreatorID, "CmRemoveConduitByCreatorID", src, __LINE__);
      lib.Require(f.CmGetCorePath, "CmGetCorePath", src, __LINE__);
      lib.Require(f.CmGetCreatorDirectory, "CmGetCreatorDirectory", src, __LINE__);
    }

    b.install_aide = Load<InstallAideFunctions>("instaide.dll", "hcdPalmInstall");
    if (!b.install_aide) throw EAbort();
    b.install_aide->library.Require(b.install_aide->functions.PltInstallFile, "PltInstallFile",
                                    "Imports\\Conduits\\hcdPalmInstall", __LINE__);
  } catch (...) {
    UnloadHostLibraries();
    throw;
  }
}

void UnloadHostLibraries() {
  if (!bindings) return;
  Bindings& b = *bindings;
  b.install_aide.reset();
  b.conduit_manager.reset();
  b.hotsync_api.reset();
  b.hotsync_log.reset();
  UnloadSyncManager();
  b.user_data.reset();
  delete std::exchange(bindings, nullptr);
}

const UserDataFunctions& UserData() {
  auto& b = TheBindings().user_data;
  return b ? b->functions : kNoUserData;
}

const HotSyncLogFunctions& HotSyncLog() {
  auto& b = TheBindings().hotsync_log;
  if (!b) throw EPalmDBError("The HotSync log library is not loaded");
  return b->functions;
}

const HotSyncApiFunctions& HotSyncApi() {
  auto& b = TheBindings().hotsync_api;
  if (!b) throw EPalmDBError("The HotSync API library is not loaded");
  return b->functions;
}

const ConduitManagerFunctions& ConduitManager() {
  auto& b = TheBindings().conduit_manager;
  if (!b) throw EPalmDBError("The Conduit Manager library is not loaded");
  return b->functions;
}

}  // namespace kestro
