// Files waiting to be installed on a user's handheld: the install aide copies
// them into the user's "Install" folder and the next HotSync moves them onto
// the handheld. Only handheld databases and applications are accepted.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host_store.h"

namespace kestro::host {

std::string InstallFolder(const HotSyncUser& user);
// Queues a copy of the file; 0 or an install-aide code (-554 no such file,
// -553 not a handheld file, -552/-555 the copy failed).
int32_t QueueInstall(const HotSyncUser& user, const std::string& file_path);
// The queued files (full paths), in directory order.
std::vector<std::string> QueuedInstalls(const HotSyncUser& user);

}  // namespace kestro::host
