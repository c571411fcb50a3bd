// The HotSync user a command acts for, and where that user's log is.
#pragma once

#include <optional>
#include <string>

#include "host_store.h"

namespace kestro::hotsync {

constexpr char kDefaultUser[] = "HotSync User";

// The named user (created when new), else the first user, else a new user
// "HotSync User". nullopt when the name cannot be a user's.
std::optional<host::HotSyncUser> ResolveUser(const std::optional<std::string>& name);
// KESTRO_HOTSYNC_LOG when set, else "HotSync Log.txt" in the user's folder.
std::string LogPathFor(const host::HotSyncUser& user);

}  // namespace kestro::hotsync
