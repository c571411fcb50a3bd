// A private world for one test: a temporary folder, a registry file, a
// message-box record and a HotSync log inside it, set in the environment that
// the platform layer and the stand-in host read. Restored when the test ends.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kestro::testing {

class TestEnvironment {
 public:
  TestEnvironment();
  ~TestEnvironment();

  // The test's own folder, ending in the native separator.
  const std::string& Folder() const { return folder_; }
  std::string Path(const std::string& name) const { return folder_ + name; }

  // Message boxes shown so far, "caption|text" each.
  std::vector<std::string> MessageBoxes() const;
  // HotSync log entries so far, "activity|text" each (the log file also
  // carries the time of each entry; it is left out here).
  std::vector<std::string> LogLines() const;

  // One call of a stand-in host library, from the call journal.
  struct HostCallLine {
    std::string function;
    std::string args;  // as journalled, e.g. "handle=1, id=0, ..."
    int32_t result = 0;
    std::string out;   // what the call handed back, or "(fault)"
  };
  // Every host call since the test began (KESTRO_HOST_JOURNAL, which points
  // into the test's folder unless the test changes it).
  std::vector<HostCallLine> HostCalls() const;
  // Only the calls of one function.
  std::vector<HostCallLine> HostCalls(const std::string& function) const;

 private:
  std::string folder_;
  std::vector<std::pair<std::string, std::string>> saved_;
};

// The folder holding the built libraries and programs, with separator.
std::string BinFolder();
// Lines of a text file (without their ends); empty when it cannot be read.
std::vector<std::string> ReadLines(const std::string& path);

}  // namespace kestro::testing
