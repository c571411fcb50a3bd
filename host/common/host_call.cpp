#include "host_call.h"

#include <mutex>

#include "fault_plan.h"
#include "host_switches.h"
#include "platform/append_file.h"

namespace kestro::host {
namespace {

struct CallState {
  std::mutex mutex;
  std::string plan_key;  // the switch values the plan was built from
  uint64_t switches_reading = 0;  // the reading of the switches the key was made from
  FaultPlan plan;
  void (*link_lost)() = nullptr;
};

CallState& State() {
  // Destroyed when the library unloads, so a host that loads and unloads the
  // libraries many times (as tests do) leaves nothing behind.
  static CallState state;
  return state;
}

void Journal(const std::string& path, const char* function, const std::string& args, int32_t result,
             const std::string& tail) {
  std::string line = std::string(function) + "(" + args + ") -> " + std::to_string(result);
  if (!tail.empty()) line += " " + tail;
  platform::AppendFile file;
  if (file.Open(path, false)) file.Append(line + "\n");
}

}  // namespace

void OnLinkLost(void (*handler)()) {
  CallState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  state.link_lost = handler;
}

std::string QuoteArg(const char* text) {
  if (!text) return "null";
  std::string out = "\"";
  for (const char* p = text; *p; ++p) {
    unsigned char c = static_cast<unsigned char>(*p);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7F) {
      static const char kHex[] = "0123456789ABCDEF";
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

int32_t HostCall(const char* function, const CallArgs& args, int32_t error_code,
                 const std::function<int32_t(std::string* out)>& body) {
  CallState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  const HostSwitches& switches = Switches();
  if (switches.reading != state.switches_reading) {
    state.switches_reading = switches.reading;
    // Without a fault switch nothing is counted, so the handheld folder
    // (which also restarts the counts) does not matter then.
    std::string key = switches.fault.empty() ? std::string() : switches.fault + "\n" + switches.handheld;
    if (key != state.plan_key) {
      state.plan_key = std::move(key);
      state.plan.Reset(ParseFaultPlan(switches.fault));
    }
  }
  const std::string& journal = switches.journal;
  bool was_gone = state.plan.LinkGone();
  if (auto code = state.plan.OnCall(function)) {
    if (!journal.empty()) Journal(journal, function, args(), *code, "(fault)");
    if (!was_gone && state.plan.LinkGone() && state.link_lost) state.link_lost();
    return *code;
  }
  std::string described, out;
  std::string* journal_out = journal.empty() ? nullptr : &out;
  int32_t result;
  try {
    // The arguments are described before the body runs: it may change them.
    if (!journal.empty()) described = args();
    result = body(journal_out);
  } catch (...) {
    result = error_code;
    out = "(failed)";
  }
  if (!journal.empty()) Journal(journal, function, described, result, out);
  return result;
}

}  // namespace kestro::host
