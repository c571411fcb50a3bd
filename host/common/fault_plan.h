// The fault switch: which host call fails, at which count, with which code.
// Text form, one or more entries separated by ',':
//   Function:k:code        fail the k-th call of Function with code
//   Function:k:code:sticky fail it and every later call of the same library
// Counting starts when the switch (or the handheld folder) takes a new value,
// so a test that sets it counts from there.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestro::host {

struct FaultEntry {
  std::string function;
  int64_t call = 0;  // 1 = the first call
  int32_t code = 0;
  bool sticky = false;
};

// Parses the switch; entries that do not parse are left out (and reported
// through bad, when given).
std::vector<FaultEntry> ParseFaultPlan(const std::string& text,
                                       std::vector<std::string>* bad = nullptr);

// Counts calls and decides, call by call, whether one fails.
class FaultPlan {
 public:
  void Reset(std::vector<FaultEntry> entries);
  // Counts one call of function; the code to fail it with, if any.
  std::optional<int32_t> OnCall(std::string_view function);
  // True once a sticky fault has fired.
  bool LinkGone() const { return gone_.has_value(); }

 private:
  std::vector<FaultEntry> entries_;
  std::map<std::string, int64_t> counts_;
  std::optional<int32_t> gone_;  // set once a sticky fault has fired
};

}  // namespace kestro::host
