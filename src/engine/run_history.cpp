#include "engine/run_history.h"

#include <algorithm>
#include <ctime>

#include "base/exception.h"
#include "base/text.h"
#include "platform/file_system.h"
#include "platform/process_paths.h"

namespace kestro {
namespace {

std::string Join(const std::string& folder, const std::string& name) {
  if (!folder.empty() && (folder.back() == '/' || folder.back() == '\\')) return folder + name;
  return folder + platform::PathSeparator() + name;
}

std::string LocalTimeId() {
  std::time_t now = std::time(nullptr);
  char text[32] = "00000000-000000";
  if (const std::tm* t = std::localtime(&now)) std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", t);
  return text;
}

}  // namespace

std::string RunsFolder(const std::string& conduit_folder) { return Join(conduit_folder, "Runs"); }

std::string NewRunId(const std::string& conduit_folder) {
  const std::string base = LocalTimeId();
  std::string id = base;
  for (int n = 2; platform::PathExists(Join(RunsFolder(conduit_folder), id + ".txt")) ||
                  platform::PathExists(Join(Join(conduit_folder, "Backups"), id));
       ++n) {
    id = base + Format("-%03d", n);
  }
  return id;
}

std::string RunDetailText(const RunReport& report) {
  std::string text = "# " + report.Summary() + "\n";
  report.AppendDetail(text);
  return text;
}

std::vector<std::string> SortedNames(const std::string& folder, bool directories) {
  std::vector<platform::DirectoryEntry> entries;
  std::vector<std::string> names;
  if (!platform::ListDirectory(folder, entries)) return names;
  for (const auto& e : entries) {
    if (e.is_directory == directories && !e.name.empty() && e.name[0] >= '0' && e.name[0] <= '9') {
      names.push_back(e.name);
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

void KeepRunDetail(const std::string& conduit_folder, const std::string& id, const RunReport& report) {
  const std::string folder = RunsFolder(conduit_folder);
  platform::CreateDirectories(folder);
  const std::string file = Join(folder, id + ".txt");
  if (!platform::WriteFileAtomically(file, RunDetailText(report))) {
    throw Exception(Format("Cannot write the run's detail file \"%s\"", file.c_str()));
  }
  std::vector<std::string> runs = SortedNames(folder, /*directories=*/false);
  for (std::size_t i = 0; i + kRunsKept < runs.size(); ++i) platform::DeleteFileAt(Join(folder, runs[i]));
}

}  // namespace kestro
