#include "log_file.h"

#include <cstdlib>
#include <ctime>

#include "base/text.h"
#include "host_paths.h"
#include "platform/append_file.h"
#include "platform/environment.h"
#include "platform/file_system.h"

namespace kestro::host {
namespace {

std::string LocalTime() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
#if defined(_WIN32)
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  char buf[32];
  std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &local);
  return buf;
}

std::string OneLine(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    if (text[i] == '\n' || text[i] == '\r') {
      out += "\\n";
    } else {
      out += text[i];
    }
  }
  return out;
}

bool AppendLine(const std::string& path, const std::string& line) {
  std::string folder =
      path.substr(0, path.find_last_of("/\\") == std::string::npos ? 0 : path.find_last_of("/\\"));
  if (!folder.empty() && !platform::DirectoryExists(folder)) platform::CreateDirectories(folder);
  platform::AppendFile file;
  return file.Open(path, false) && file.Append(line + "\n");
}

}  // namespace

std::string LogFilePath() {
  if (auto path = platform::GetEnv("KESTRO_HOTSYNC_LOG"); path && !path->empty()) return *path;
  return CorePath() + "HotSync Log.txt";
}

bool AppendLogEntry(const std::string& path, int32_t activity, const std::string& text) {
  return AppendLine(path, LocalTime() + "|" + std::to_string(activity) + "|" + OneLine(text));
}

bool AppendSessionMark(const std::string& path, const std::string& what) {
  return AppendLine(path, "# " + LocalTime() + " " + OneLine(what));
}

std::vector<LogEntry> ReadLastSession(const std::string& path) {
  std::vector<LogEntry> entries;
  std::string text;
  if (!platform::ReadWholeFile(path, text)) return entries;
  for (std::string_view line : SplitLines(text)) {
    if (line.empty()) continue;
    if (line[0] == '#') {
      entries.clear();
      continue;
    }
    std::size_t a = line.find('|');
    std::size_t b = a == std::string::npos ? a : line.find('|', a + 1);
    if (b == std::string::npos) continue;
    entries.push_back(
        {std::string(line.substr(0, a)),
         static_cast<int32_t>(std::atol(std::string(line.substr(a + 1, b - a - 1)).c_str())),
         std::string(line.substr(b + 1))});
  }
  return entries;
}

std::string ActivityName(int32_t activity) {
  switch (activity) {
    case -1:
      return "text";
    case 19:
      return "sync started";
    case 20:
      return "sync finished";
    case 21:
      return "sync aborted";
    default:
      return "activity " + std::to_string(activity);
  }
}

}  // namespace kestro::host
