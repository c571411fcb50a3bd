// The conduit's bindings of the HotSync Manager's desktop libraries: the user
// data library, the HotSync log, the HotSync API, the Conduit Manager and the
// install aide. Each is loaded from HotSyncLibraryFolder() while the conduit
// library initialises and released, in reverse order, when it unloads.
#pragma once

#include <string>

#include "hostapi/conduit_manager.h"
#include "hostapi/hotsync_api.h"
#include "hostapi/hotsync_log.h"
#include "hostapi/install_aide.h"
#include "hostapi/user_data.h"

namespace kestro {

struct UserDataFunctions {
  decltype(&::UmGetUserCount) UmGetUserCount = nullptr;
  decltype(&::UmGetUserID) UmGetUserID = nullptr;
  decltype(&::UmGetUserDirectory) UmGetUserDirectory = nullptr;
  decltype(&::UmGetRootDirectory) UmGetRootDirectory = nullptr;
};

struct HotSyncLogFunctions {
  decltype(&::LogAddEntry) LogAddEntry = nullptr;
};

struct HotSyncApiFunctions {
  decltype(&::HsRefreshConduitInfo) HsRefreshConduitInfo = nullptr;
};

struct ConduitManagerFunctions {
  decltype(&::CmInstallCreator) CmInstallCreator = nullptr;
  decltype(&::CmSetCreatorName) CmSetCreatorName = nullptr;
  decltype(&::CmSetCreatorTitle) CmSetCreatorTitle = nullptr;
  decltype(&::CmSetCreatorDirectory) CmSetCreatorDirectory = nullptr;
  decltype(&::CmSetCreatorFile) CmSetCreatorFile = nullptr;
  decltype(&::CmSetCreatorRemote) CmSetCreatorRemote = nullptr;
  decltype(&::CmSetCreatorInfo) CmSetCreatorInfo = nullptr;
  decltype(&::CmSetCreatorPriority) CmSetCreatorPriority = nullptr;
  decltype(&::CmRemoveConduitByCreatorID) CmRemoveConduitByCreatorID = nullptr;
  decltype(&::CmGetCorePath) CmGetCorePath = nullptr;
  decltype(&::CmGetCreatorDirectory) CmGetCreatorDirectory = nullptr;
};

struct InstallAideFunctions {
  decltype(&::PltInstallFile) PltInstallFile = nullptr;  // resolved, never called
};

// The folder of the HotSync libraries, ending in the separator, or empty:
// the user data library beside our own file names it, else the registry's
// HotSyncPath. Worked out once and cached until the user data library unloads.
std::string HotSyncLibraryFolder();
// The folder part of the registry's HotSyncPath (the host program's file, up
// to its first NUL): up to and including its last backslash or "/".
std::string HotSyncPathFolder(const std::string& hotsync_path);

// Loads the five libraries in the host's order around the Sync Manager:
// userdata, (sync20), hslog20, hsapi, condmgr, instaide. A library that cannot
// be loaded shows its "Unable to load" box and raises EAbort (userdata alone is
// excused: its functions then do nothing); a missing function raises
// EAssertionFailed. On failure everything already loaded is released.
void LoadHostLibraries();
void UnloadHostLibraries();

// The bound functions. The user data functions are null when userdata was not
// loaded; the others raise EPalmDBError when their library is not loaded.
const UserDataFunctions& UserData();
const HotSyncLogFunctions& HotSyncLog();
const HotSyncApiFunctions& HotSyncApi();
const ConduitManagerFunctions& ConduitManager();

}  // namespace kestro
