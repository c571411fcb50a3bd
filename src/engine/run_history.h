// The record a run leaves in the conduit's folder of the HotSync user: one
// detail file per run that changed something ("Runs/<ID>.txt", the last 20
// kept), named by the run's ID, which is the local time it started
// ("20261208-081502", with "-002" and up when that is taken). Backups of the
// same run use the same ID.
#pragma once

#include <string>
#include <vector>

#include "engine/run_report.h"

namespace kestro {

inline constexpr int kRunsKept = 20;

std::string RunsFolder(const std::string& conduit_folder);
// An ID no earlier run of this folder used.
std::string NewRunId(const std::string& conduit_folder);
// The text of a detail file or a preview: "# " and the summary, then the
// report's detail lines.
std::string RunDetailText(const RunReport& report);
// Writes the run's detail file and removes all but the newest kRunsKept.
// Raises Exception when the file cannot be written.
void KeepRunDetail(const std::string& conduit_folder, const std::string& id, const RunReport& report);
// Names in a folder that sort as run IDs, oldest first.
std::vector<std::string> SortedNames(const std::string& folder, bool directories);

}  // namespace kestro
