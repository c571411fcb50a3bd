#include "fault_plan.h"

#include <cerrno>
#include <cstdlib>

namespace kestro::host {
namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    std::size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return parts;
    start = end + 1;
  }
}

std::string Trim(const std::string& s) {
  std::size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return {};
  std::size_t e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

bool ParseNumber(const std::string& text, int64_t& value) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  long long v = std::strtoll(text.c_str(), &end, 0);
  if (errno != 0 || *end != '\0') return false;
  value = v;
  return true;
}

}  // namespace

std::vector<FaultEntry> ParseFaultPlan(const std::string& text, std::vector<std::string>* bad) {
  std::vector<FaultEntry> entries;
  for (const std::string& raw : Split(text, ',')) {
    std::string item = Trim(raw);
    if (item.empty()) continue;
    auto fields = Split(item, ':');
    FaultEntry entry;
    int64_t code = 0;
    bool ok = (fields.size() == 3 || fields.size() == 4) && !fields[0].empty() &&
              ParseNumber(fields[1], entry.call) && entry.call >= 1 &&
              ParseNumber(fields[2], code) && code >= INT32_MIN && code <= UINT32_MAX;
    if (ok && fields.size() == 4) {
      ok = fields[3] == "sticky";
      entry.sticky = ok;
    }
    if (!ok) {
      if (bad) bad->push_back(item);
      continue;
    }
    entry.function = fields[0];
    // Codes above INT32_MAX are taken as their 32-bit pattern (0x80004005).
    entry.code = static_cast<int32_t>(static_cast<uint32_t>(code));
    entries.push_back(entry);
  }
  return entries;
}

void FaultPlan::Reset(std::vector<FaultEntry> entries) {
  entries_ = std::move(entries);
  counts_.clear();
  gone_.reset();
}

std::optional<int32_t> FaultPlan::OnCall(std::string_view function) {
  // Without entries nothing can fail, and the counts start over when the
  // switch changes, so they need not be kept.
  if (entries_.empty()) return std::nullopt;
  int64_t count = ++counts_[std::string(function)];
  if (gone_) return gone_;
  for (const FaultEntry& e : entries_) {
    if (e.function == function && e.call == count) {
      if (e.sticky) gone_ = e.code;
      return e.code;
    }
  }
  return std::nullopt;
}

}  // namespace kestro::host
