#include "platform/process_paths.h"

#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

#include "platform/environment.h"

namespace kestro::platform {

std::string HostProgramFolder() {
  if (auto folder = GetEnv("KESTRO_HOST_FOLDER"); folder && !folder->empty()) {
    return folder->back() == '/' ? *folder : *folder + "/";
  }
  char buf[PATH_MAX];
  ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return {};
  return FolderOf(std::string(buf, static_cast<std::size_t>(n)));
}

std::string OwnModuleFile() {
  Dl_info info{};
  static const int anchor = 0;
  if (::dladdr(&anchor, &info) && info.dli_fname) {
    char resolved[PATH_MAX];
    if (::realpath(info.dli_fname, resolved)) return resolved;
    return info.dli_fname;
  }
  return {};
}

std::string CurrentDirectory() {
  char buf[PATH_MAX];
  return ::getcwd(buf, sizeof buf) ? std::string(buf) : std::string();
}

bool SetCurrentDirectory(const std::string& dir) { return ::chdir(dir.c_str()) == 0; }

char PathSeparator() { return '/'; }

}  // namespace kestro::platform
