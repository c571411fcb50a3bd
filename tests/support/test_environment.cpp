#include "support/test_environment.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "platform/environment.h"
#include "platform/file_system.h"
#include "platform/process_paths.h"

namespace kestro::testing {
namespace {

const char* const kVariables[] = {"KESTRO_REGISTRY", "KESTRO_MESSAGE_LOG", "KESTRO_HOTSYNC_LOG",
                                  "KESTRO_HOST_FOLDER", "KESTRO_HANDHELD", "KESTRO_HOTSYNC_HOME",
                                  "KESTRO_HOST_JOURNAL", "KESTRO_HOST_FAULT"};

std::string UniqueFolder() {
  static std::atomic<int> counter{0};
  auto base = std::filesystem::temp_directory_path();
  auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  for (;;) {
    auto dir = base / ("kestro-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    std::error_code ec;
    if (std::filesystem::create_directory(dir, ec)) return dir.string() + platform::PathSeparator();
  }
}

}  // namespace

TestEnvironment::TestEnvironment() : folder_(UniqueFolder()) {
  for (const char* name : kVariables) {
    if (auto value = platform::GetEnv(name)) saved_.emplace_back(name, *value);
    platform::UnsetEnv(name);
  }
  platform::SetEnv("KESTRO_REGISTRY", Path("registry.reg"));
  platform::SetEnv("KESTRO_MESSAGE_LOG", Path("messages.txt"));
  platform::SetEnv("KESTRO_HOTSYNC_LOG", Path("hotsync-log.txt"));
  platform::SetEnv("KESTRO_HOST_FOLDER", folder_);
  platform::SetEnv("KESTRO_HANDHELD", Path("handheld"));
  platform::SetEnv("KESTRO_HOTSYNC_HOME", Path("hotsync-home"));
}

TestEnvironment::~TestEnvironment() {
  for (const char* name : kVariables) platform::UnsetEnv(name);
  for (auto& [name, value] : saved_) platform::SetEnv(name.c_str(), value);
  if (!std::getenv("KESTRO_KEEP_TEST_FILES")) platform::DeleteTree(folder_.substr(0, folder_.size() - 1));
}

std::vector<std::string> TestEnvironment::MessageBoxes() const { return ReadLines(Path("messages.txt")); }

std::vector<std::string> TestEnvironment::LogLines() const { return ReadLines(Path("hotsync-log.txt")); }

std::string BinFolder() {
  std::string folder = KESTRO_BIN_DIR;
  return folder + "/";
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<std::string> lines;
  std::string text;
  if (!platform::ReadWholeFile(path, text)) return lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

}  // namespace kestro::testing
