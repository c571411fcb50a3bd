#include "fuzz_support.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "platform/file_system.h"

namespace kestro::fuzz {
namespace {

std::string& Folder() {
  static std::string folder;
  return folder;
}

}  // namespace

std::string ScratchFile(const std::string& name) {
  std::string& folder = Folder();
  if (folder.empty()) {
    const std::string base = platform::DirectoryExists("/dev/shm") ? "/dev/shm" : "/tmp";
    folder = base + "/kestro-fuzz-" + std::to_string(::getpid());
    if (!platform::CreateDirectories(folder)) std::abort();
    // The folder goes with the process when it ends normally.
    std::atexit([] { platform::DeleteTree(Folder()); });
  }
  return folder + "/" + name;
}

void WriteScratch(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) std::abort();
}

}  // namespace kestro::fuzz
