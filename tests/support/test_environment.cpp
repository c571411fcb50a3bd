#include "support/test_environment.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "base/text.h"
#include "platform/environment.h"
#include "platform/file_system.h"
#include "platform/process_paths.h"

namespace kestro::testing {
namespace {

const char* const kVariables[] = {
    "KESTRO_REGISTRY", "KESTRO_MESSAGE_LOG",  "KESTRO_HOTSYNC_LOG",  "KESTRO_HOST_FOLDER",
    "KESTRO_HANDHELD", "KESTRO_HOTSYNC_HOME", "KESTRO_HOST_JOURNAL", "KESTRO_HOST_FAULT",
    "KESTRO_PLATFORM_FAULT"};

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
  platform::SetEnv("KESTRO_HOST_JOURNAL", Path("host-journal.txt"));
}

TestEnvironment::~TestEnvironment() {
  for (const char* name : kVariables) platform::UnsetEnv(name);
  for (auto& [name, value] : saved_) platform::SetEnv(name.c_str(), value);
  if (!std::getenv("KESTRO_KEEP_TEST_FILES"))
    platform::DeleteTree(folder_.substr(0, folder_.size() - 1));
}

std::vector<std::string> TestEnvironment::MessageBoxes() const {
  return ReadLines(Path("messages.txt"));
}

std::vector<std::string> TestEnvironment::LogLines() const {
  // The stand-in log writes "time|activity|text" per entry and "#" lines
  // where a HotSync begins.
  std::vector<std::string> entries;
  for (const std::string& line : ReadLines(Path("hotsync-log.txt"))) {
    if (line.empty() || line[0] == '#') continue;
    std::size_t bar = line.find('|');
    entries.push_back(bar == std::string::npos ? line : line.substr(bar + 1));
  }
  return entries;
}

std::vector<TestEnvironment::HostCallLine> TestEnvironment::HostCalls() const {
  // Lines read "Function(args) -> result[ out]".
  std::vector<HostCallLine> calls;
  auto path = platform::GetEnv("KESTRO_HOST_JOURNAL");
  for (const std::string& line : ReadLines(path.value_or(Path("host-journal.txt")))) {
    std::size_t open = line.find('(');
    std::size_t arrow = line.rfind(") -> ");
    if (open == std::string::npos || arrow == std::string::npos || arrow < open) continue;
    HostCallLine call;
    call.function = line.substr(0, open);
    call.args = line.substr(open + 1, arrow - open - 1);
    std::string rest = line.substr(arrow + 5);
    std::size_t space = rest.find(' ');
    call.result = static_cast<int32_t>(std::strtoll(rest.substr(0, space).c_str(), nullptr, 10));
    if (space != std::string::npos) call.out = rest.substr(space + 1);
    calls.push_back(std::move(call));
  }
  return calls;
}

std::vector<TestEnvironment::HostCallLine> TestEnvironment::HostCalls(
    const std::string& function) const {
  std::vector<HostCallLine> calls;
  for (auto& call : HostCalls()) {
    if (call.function == function) calls.push_back(std::move(call));
  }
  return calls;
}

std::string BinFolder() {
  std::string folder = KESTRO_BIN_DIR;
  return folder + "/";
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<std::string> lines;
  std::string text;
  if (!platform::ReadWholeFile(path, text)) return lines;
  for (std::string_view line : SplitLines(text)) lines.emplace_back(line);
  return lines;
}

}  // namespace kestro::testing
