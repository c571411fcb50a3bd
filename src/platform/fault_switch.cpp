#include "platform/fault_switch.h"

#include <cstdint>
#include <optional>
#include <vector>

#include "base/text.h"
#include "platform/environment.h"

namespace kestro::platform {
namespace {

struct Entry {
  FileOperation operation;
  int64_t call;  // 0: every call
  std::string text;
  int64_t seen = 0;
};

std::optional<FileOperation> OperationNamed(std::string_view name) {
  if (name == "write") return FileOperation::kWrite;
  if (name == "rename") return FileOperation::kRename;
  if (name == "delete") return FileOperation::kDelete;
  if (name == "mkdir") return FileOperation::kMakeFolder;
  return std::nullopt;
}

// Entries that do not parse are left out: a mistyped switch fails nothing.
std::vector<Entry> Parse(std::string_view text) {
  std::vector<Entry> entries;
  while (!text.empty()) {
    const std::size_t comma = text.find(',');
    std::string_view item = text.substr(0, comma);
    text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    const std::size_t first = item.find(':');
    if (first == std::string_view::npos) continue;
    const std::size_t second = item.find(':', first + 1);
    const auto operation = OperationNamed(item.substr(0, first));
    const std::string_view count = item.substr(
        first + 1, second == std::string_view::npos ? std::string_view::npos : second - first - 1);
    int64_t call = 0;
    if (!operation || (count != "*" && (!ParseInt64(count, call) || call < 1))) continue;
    entries.push_back({*operation, call,
                       std::string(second == std::string_view::npos ? std::string_view()
                                                                    : item.substr(second + 1))});
  }
  return entries;
}

}  // namespace

bool FaultRequested(FileOperation operation, std::string_view path) {
  // Never destroyed: files may still be replaced by exit-time destructors.
  struct State {
    std::string text;
    std::vector<Entry> entries;
  };
  static State* state = new State;
  const std::optional<std::string> now = GetEnv(kPlatformFaultVariable);
  if (!now || now->empty()) {
    state->text.clear();
    state->entries.clear();
    return false;
  }
  if (*now != state->text) {
    state->text = *now;
    state->entries = Parse(state->text);
  }
  bool fail = false;
  for (Entry& e : state->entries) {
    if (e.operation != operation || path.find(e.text) == std::string_view::npos) continue;
    ++e.seen;
    fail = fail || e.call == 0 || e.seen == e.call;
  }
  return fail;
}

}  // namespace kestro::platform
