// Installing the conduit with the HotSync Manager's Conduit Manager and
// removing it again, with the conduit's folder under every HotSync user's
// folder. The host's functions come in as tables so that the same code runs
// against the loaded libraries and against fakes. The results are the
// self-registration entry points' numbers; nothing is thrown.
#pragma once

#include <cstdint>
#include <string>

#include "conduit/host_libraries.h"
#include "conduit/palm_component.h"

namespace kestro {

struct RegistrationHost {
  const ConduitManagerFunctions* conduit_manager = nullptr;
  const HotSyncApiFunctions* hotsync_api = nullptr;
  const UserDataFunctions* user_data = nullptr;  // may hold null functions
  std::string library_path;                      // the conduit library's own file
};

// Registers the component: 0; 1 without a component; the code of the first
// failing Conduit Manager call (after a message box with its text); E_FAIL
// for anything else. Steps already taken are not undone.
int32_t RegisterServer(const RegistrationHost& host);
// Removes the registration and, unless an OnUnregisterConduit handler says
// otherwise, the conduit's user folders: 0, or E_FAIL for any failure.
int32_t UnregisterServer(const RegistrationHost& host);

// Deletes <core path>\<user folder>\<conduit folder> for every HotSync user.
// A failure for one user skips that user; an early failure ends it quietly.
// Only a plain conduit folder name inside a plain user folder name is deleted,
// so a user's own folder survives whatever the Conduit Manager answers.
void RemoveUserConduitFolders(const std::string& creator_id, const ConduitManagerFunctions& cm,
                              const UserDataFunctions& um);

// True when a folder name the host gave (a user's folder, the conduit's
// folder) names a folder inside the one it is joined to: not empty, not
// absolute, no drive, no "." or ".." step.
bool IsPlainRelativeFolder(const std::string& directory);

// The library path as registered: at most 254 characters.
std::string RegisteredLibraryPath(const std::string& module_file);

}  // namespace kestro
