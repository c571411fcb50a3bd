#include "host_paths.h"

#include "platform/environment.h"
#include "platform/process_paths.h"

namespace kestro::host {

std::string WithSeparator(const std::string& path) {
  if (path.empty()) return path;
  char last = path.back();
  if (last == '/' || last == '\\') return path;
  return path + platform::PathSeparator();
}

std::string JoinPath(const std::string& a, const std::string& b) { return a.empty() ? b : WithSeparator(a) + b; }

std::string CorePath() {
  if (auto home = platform::GetEnv("KESTRO_HOTSYNC_HOME"); home && !home->empty()) return WithSeparator(*home);
  // Only Windows sets APPDATA; elsewhere the XDG data folder is the place.
  if (auto appdata = platform::GetEnv("APPDATA"); appdata && !appdata->empty())
    return WithSeparator(JoinPath(*appdata, "Kestro HotSync"));
  if (auto xdg = platform::GetEnv("XDG_DATA_HOME"); xdg && !xdg->empty())
    return WithSeparator(JoinPath(*xdg, "kestro-hotsync"));
  std::string home = platform::GetEnv("HOME").value_or(".");
  return WithSeparator(JoinPath(JoinPath(JoinPath(home, ".local"), "share"), "kestro-hotsync"));
}

std::string HandheldFolder() {
  if (auto folder = platform::GetEnv("KESTRO_HANDHELD"); folder && !folder->empty()) return WithSeparator(*folder);
  return WithSeparator(CorePath() + "Handheld");
}

}  // namespace kestro::host
