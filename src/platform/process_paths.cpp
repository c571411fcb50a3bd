// The path text helpers that are the same on every platform.
#include "platform/process_paths.h"

namespace kestro::platform {

std::string FolderOf(const std::string& path) {
  std::size_t pos = path.find_last_of("/\\");
  return pos == std::string::npos ? std::string() : path.substr(0, pos + 1);
}

}  // namespace kestro::platform
