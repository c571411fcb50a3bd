// What a conduit keeps of its runs in the user's folder, as the hotsync
// commands read it: the detail file of each run ("<conduit folder>/Runs/<ID>.txt")
// and the backups ("<conduit folder>/Backups/<ID>/"). IDs sort in time order.
#pragma once

#include <string>
#include <vector>

#include "host_store.h"

namespace kestro::hotsync {

struct RunRecord {
  std::string id;
  std::string path;  // the detail file or the backup folder
};
// Every conduit folder's runs (backups when backups is set), oldest first.
std::vector<RunRecord> RunRecords(const host::HotSyncUser& user, bool backups);

}  // namespace kestro::hotsync
