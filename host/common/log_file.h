// The HotSync log as a readable text file, one entry per line:
//   2026-12-07 23:40:01|19|text
// (local time, activity number, text; line breaks inside a text are written
// as "\n"). A line starting with "#" marks where a HotSync began, so the log
// of the last HotSync is everything after the last such line. KESTRO_HOTSYNC_LOG
// names the file; the hotsync program points it at the user's log.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kestro::host {

// KESTRO_HOTSYNC_LOG, else "HotSync Log.txt" in the core path.
std::string LogFilePath();
// Appends one entry; false when the file cannot be written.
bool AppendLogEntry(const std::string& path, int32_t activity, const std::string& text);
// Appends the line that starts a HotSync.
bool AppendSessionMark(const std::string& path, const std::string& what);

struct LogEntry {
  std::string time;
  int32_t activity = 0;
  std::string text;
};
// The entries after the last session mark (all of them when there is none).
std::vector<LogEntry> ReadLastSession(const std::string& path);
// A short name for an activity: "sync started", "text", ...
std::string ActivityName(int32_t activity);

}  // namespace kestro::host
