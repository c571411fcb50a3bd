// What the stand-in HotSync Manager remembers, kept in the registry
// (HKEY_CURRENT_USER, a REGEDIT4 file on Linux) under "Software\Kestro
// HotSync": the conduit registrations per creator ID and the HotSync users
// with their folders under the core path. Shared by condmgr, userdata,
// instaide and the hotsync program, so they all see the same data.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestro::host {

struct ConduitRegistration {
  std::string creator;  // four characters
  int32_t type = 0;
  std::string library;  // the conduit library's path
  std::string title;
  std::string directory;
  std::string file;
  std::string remote;
  std::string info;
  int32_t priority = 2;
  int32_t sync_type = -1;       // the permanent HotSync action, -1 = the conduit's default
  int32_t next_sync_type = -1;  // a one-time action for the next HotSync, -1 = none
};

std::vector<ConduitRegistration> ListConduits();  // ordered by priority, then creator
std::optional<ConduitRegistration> FindConduit(const std::string& creator);
bool SaveConduit(const ConduitRegistration& conduit);
bool RemoveConduit(const std::string& creator);

struct HotSyncUser {
  std::string name;
  uint32_t id = 0;
  std::string directory;  // the user's folder name within the core path
};

std::vector<HotSyncUser> ListUsers();
std::optional<HotSyncUser> FindUserById(uint32_t id);
std::optional<HotSyncUser> FindUserByName(const std::string& name);
// Adds a user (or returns the existing one) and creates the user's folder;
// nullopt when the name cannot be a user name.
std::optional<HotSyncUser> AddUser(const std::string& name);
// The user's folder, full path, with separator.
std::string UserFolder(const HotSyncUser& user);

}  // namespace kestro::host
