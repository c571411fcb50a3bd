#include "session.h"

#include "platform/environment.h"

namespace kestro::hotsync {

std::optional<host::HotSyncUser> ResolveUser(const std::optional<std::string>& name) {
  if (name) return host::AddUser(*name);
  auto users = host::ListUsers();
  if (!users.empty()) return users.front();
  return host::AddUser(kDefaultUser);
}

std::string LogPathFor(const host::HotSyncUser& user) {
  if (auto path = platform::GetEnv("KESTRO_HOTSYNC_LOG"); path && !path->empty()) return *path;
  return host::UserFolder(user) + "HotSync Log.txt";
}

}  // namespace kestro::hotsync
