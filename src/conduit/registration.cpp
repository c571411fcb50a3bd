#include "conduit/registration.h"

#include <cstring>

#include "conduit/exports.h"
#include "palmdb/sync_errors.h"
#include "platform/file_system.h"
#include "platform/message_box.h"

namespace kestro {
namespace {

constexpr int32_t kBufferSize = 255;  // in a zeroed 256-byte buffer

std::string WithBackslash(std::string path) {
  if (path.empty() || path.back() != '\\') path += '\\';
  return path;
}

void RefreshHost(const RegistrationHost& host) {
  try {
    if (host.hotsync_api && host.hotsync_api->HsRefreshConduitInfo)
      host.hotsync_api->HsRefreshConduitInfo();
  } catch (...) {
  }
}

void InstallCreator(const ThcdPalmComponent& c, const RegistrationHost& host) {
  const ConduitManagerFunctions& cm = *host.conduit_manager;
  const char* id = c.CreatorID().c_str();
  CheckSyncResult(cm.CmInstallCreator(id, hostapi::kConduitTypeApplication));
  CheckSyncResult(cm.CmSetCreatorName(id, RegisteredLibraryPath(host.library_path).c_str()));
  CheckSyncResult(cm.CmSetCreatorTitle(id, c.ConduitName().c_str()));
  CheckSyncResult(cm.CmSetCreatorDirectory(id, c.Directory().c_str()));
  if (!c.CreatorFile().empty()) CheckSyncResult(cm.CmSetCreatorFile(id, c.CreatorFile().c_str()));
  if (!c.RemoteFile().empty()) CheckSyncResult(cm.CmSetCreatorRemote(id, c.RemoteFile().c_str()));
  CheckSyncResult(cm.CmSetCreatorPriority(id, c.Priority()));
  if (!c.Information().empty()) CheckSyncResult(cm.CmSetCreatorInfo(id, c.Information().c_str()));
}

}  // namespace

std::string RegisteredLibraryPath(const std::string& module_file) {
  return module_file.substr(0, kBufferSize - 1);
}

int32_t RegisterServer(const RegistrationHost& host) {
  ThcdPalmComponent* component = nullptr;
  try {
    component = &FindConduitComponent();
  } catch (...) {
    return 1;
  }
  try {
    if (component->OnRegisterConduit) component->OnRegisterConduit(component);
    if (!host.conduit_manager) return kEFail;
    InstallCreator(*component, host);
    RefreshHost(host);
    return 0;
  } catch (const EPalmSyncError& e) {
    platform::ShowMessageBox(e.Message(), "Error", platform::MessageIcon::kError);
    return e.ErrorCode();
  } catch (...) {
    return kEFail;
  }
}

int32_t UnregisterServer(const RegistrationHost& host) {
  try {
    ThcdPalmComponent& component = FindConduitComponent();
    bool remove_dirs = true;
    if (component.OnUnregisterConduit) component.OnUnregisterConduit(&component, remove_dirs);
    if (!host.conduit_manager) return kEFail;
    if (remove_dirs) {
      static const UserDataFunctions kNoUsers;
      RemoveUserConduitFolders(component.CreatorID(), *host.conduit_manager,
                               host.user_data ? *host.user_data : kNoUsers);
    }
    if (host.conduit_manager->CmRemoveConduitByCreatorID(component.CreatorID().c_str()) <= 0)
      return kEFail;
    RefreshHost(host);
    return 0;
  } catch (...) {
    return kEFail;
  }
}

bool IsPlainRelativeFolder(const std::string& directory) {
  if (directory.empty() || directory[0] == '\\' || directory[0] == '/') return false;
  if (directory.find(':') != std::string::npos) return false;  // a drive or a stream
  std::size_t start = 0;
  for (;;) {
    std::size_t end = directory.find_first_of("\\/", start);
    std::string step =
        directory.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (step.find_first_not_of(" .") == std::string::npos) return false;  // "", ".", "..", blanks
    if (end == std::string::npos) return true;
    start = end + 1;
  }
}

void RemoveUserConduitFolders(const std::string& creator_id, const ConduitManagerFunctions& cm,
                              const UserDataFunctions& um) {
  try {
    char core[256] = {};
    int32_t size = kBufferSize;
    if (cm.CmGetCorePath(core, &size) != 0) return;
    char directory[256] = {};
    size = kBufferSize;
    if (cm.CmGetCreatorDirectory(creator_id.c_str(), directory, &size) != 0) return;
    // An empty or odd answer would make the joined path name the user's own
    // folder, or one outside it: then nothing is deleted for anyone.
    if (!IsPlainRelativeFolder(directory) || core[0] == '\0') return;
    if (!um.UmGetUserCount || !um.UmGetUserID || !um.UmGetUserDirectory) return;
    const int16_t count = um.UmGetUserCount();
    for (int16_t index = 0; index < count; ++index) {
      try {
        uint32_t user_id = 0;
        if (um.UmGetUserID(index, &user_id) != 0) continue;
        char user[256] = {};
        int16_t user_size = kBufferSize;
        if (um.UmGetUserDirectory(user_id, user, &user_size) < 0) continue;
        // The same for the user's folder: an empty, absolute or ".." name
        // would reach outside the core path.
        if (!IsPlainRelativeFolder(user)) continue;
        std::string folder = WithBackslash(WithBackslash(core) + user) + directory;
        platform::DeleteTree(platform::NativePath(folder));
      } catch (...) {
      }
    }
  } catch (...) {
  }
}

}  // namespace kestro
