#include "host_store.h"

#include <algorithm>

#include "host_paths.h"
#include "platform/file_system.h"
#include "platform/registry.h"

namespace kestro::host {
namespace {

const char kConduitsKey[] = "Software\\Kestro HotSync\\Conduits";
const char kUsersKey[] = "Software\\Kestro HotSync\\Users";

std::string Text(platform::RegistryKey& key, const char* name) {
  auto value = key.Read(name);
  return value ? value->data : std::string();
}

int32_t Number(platform::RegistryKey& key, const char* name, int32_t fallback) {
  auto value = key.Read(name);
  return value && value->type == static_cast<uint32_t>(platform::RegType::kDword)
             ? static_cast<int32_t>(value->AsDword())
             : fallback;
}

// Folder names made from user names keep letters, digits and a few marks.
std::string FolderNameFor(const std::string& name) {
  std::string out;
  for (char c : name) {
    bool keep = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == ' ' || c == '-' ||
                c == '_' || c == '.';
    out += keep ? c : '_';
  }
  while (!out.empty() && (out.back() == '.' || out.back() == ' ')) out.pop_back();
  return out.empty() ? "User" : out;
}

}  // namespace

std::vector<ConduitRegistration> ListConduits() {
  std::vector<ConduitRegistration> list;
  auto root = platform::OpenCurrentUserKey(kConduitsKey, false);
  if (!root) return list;
  for (const std::string& creator : root->SubKeyNames()) {
    if (auto conduit = FindConduit(creator)) list.push_back(*conduit);
  }
  std::sort(list.begin(), list.end(), [](const ConduitRegistration& a, const ConduitRegistration& b) {
    return a.priority != b.priority ? a.priority < b.priority : a.creator < b.creator;
  });
  return list;
}

std::optional<ConduitRegistration> FindConduit(const std::string& creator) {
  if (creator.size() != 4 || creator.find('\\') != std::string::npos) return std::nullopt;
  auto key = platform::OpenCurrentUserKey(std::string(kConduitsKey) + "\\" + creator, false);
  if (!key) return std::nullopt;
  ConduitRegistration c;
  c.creator = creator;
  c.type = Number(*key, "Type", 0);
  c.library = Text(*key, "Name");
  c.title = Text(*key, "Title");
  c.directory = Text(*key, "Directory");
  c.file = Text(*key, "File");
  c.remote = Text(*key, "Remote");
  c.info = Text(*key, "Info");
  c.priority = Number(*key, "Priority", 2);
  c.sync_type = Number(*key, "SyncType", -1);
  c.next_sync_type = Number(*key, "NextSyncType", -1);
  return c;
}

bool SaveConduit(const ConduitRegistration& c) {
  if (c.creator.size() != 4 || c.creator.find('\\') != std::string::npos) return false;
  auto key = platform::OpenCurrentUserKey(std::string(kConduitsKey) + "\\" + c.creator, true);
  if (!key) return false;
  bool ok = key->Write("Type", platform::DwordValue(static_cast<uint32_t>(c.type))) &&
            key->Write("Name", platform::StringValue(c.library)) &&
            key->Write("Title", platform::StringValue(c.title)) &&
            key->Write("Directory", platform::StringValue(c.directory)) &&
            key->Write("File", platform::StringValue(c.file)) &&
            key->Write("Remote", platform::StringValue(c.remote)) &&
            key->Write("Info", platform::StringValue(c.info)) &&
            key->Write("Priority", platform::DwordValue(static_cast<uint32_t>(c.priority)));
  for (auto [name, value] : {std::pair{"SyncType", c.sync_type}, std::pair{"NextSyncType", c.next_sync_type}}) {
    ok = ok && (value < 0 ? (key->DeleteValue(name), true)
                          : key->Write(name, platform::DwordValue(static_cast<uint32_t>(value))));
  }
  return ok;
}

bool RemoveConduit(const std::string& creator) {
  if (!FindConduit(creator)) return false;
  return platform::DeleteCurrentUserKey(std::string(kConduitsKey) + "\\" + creator);
}

std::vector<HotSyncUser> ListUsers() {
  std::vector<HotSyncUser> users;
  auto root = platform::OpenCurrentUserKey(kUsersKey, false);
  if (!root) return users;
  for (const std::string& name : root->SubKeyNames()) {
    auto key = platform::OpenCurrentUserKey(std::string(kUsersKey) + "\\" + name, false);
    if (!key) continue;
    users.push_back({name, static_cast<uint32_t>(Number(*key, "UserID", 0)), Text(*key, "Directory")});
  }
  std::sort(users.begin(), users.end(), [](const HotSyncUser& a, const HotSyncUser& b) { return a.id < b.id; });
  return users;
}

std::optional<HotSyncUser> FindUserById(uint32_t id) {
  for (const HotSyncUser& u : ListUsers()) {
    if (u.id == id) return u;
  }
  return std::nullopt;
}

std::optional<HotSyncUser> FindUserByName(const std::string& name) {
  for (const HotSyncUser& u : ListUsers()) {
    if (u.name == name) return u;
  }
  return std::nullopt;
}

std::optional<HotSyncUser> AddUser(const std::string& name) {
  if (name.empty() || name.size() > 40 || name.find('\\') != std::string::npos) return std::nullopt;
  if (auto existing = FindUserByName(name)) {
    platform::CreateDirectories(UserFolder(*existing));
    return existing;
  }
  auto users = ListUsers();
  HotSyncUser user;
  user.name = name;
  user.id = 1;
  for (const HotSyncUser& u : users) user.id = std::max(user.id, u.id + 1);
  user.directory = FolderNameFor(name);
  // Two names may make the same folder name.
  std::string base = user.directory;
  for (int n = 2; std::any_of(users.begin(), users.end(), [&](const HotSyncUser& u) { return u.directory == user.directory; });
       ++n) {
    user.directory = base + std::to_string(n);
  }
  auto key = platform::OpenCurrentUserKey(std::string(kUsersKey) + "\\" + name, true);
  if (!key || !key->Write("UserID", platform::DwordValue(user.id)) ||
      !key->Write("Directory", platform::StringValue(user.directory)))
    return std::nullopt;
  platform::CreateDirectories(UserFolder(user));
  return user;
}

std::string UserFolder(const HotSyncUser& user) { return WithSeparator(CorePath() + user.directory); }

}  // namespace kestro::host
