// A private world for one test: a temporary folder, a registry file, a
// message-box record and a HotSync log inside it, set in the environment that
// the platform layer and the stand-in host read. Restored when the test ends.
#pragma once

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
  // HotSync log lines so far, as the stand-in log wrote them.
  std::vector<std::string> LogLines() const;

 private:
  std::string folder_;
  std::vector<std::pair<std::string, std::string>> saved_;
};

// The folder holding the built libraries and programs, with separator.
std::string BinFolder();
// Lines of a text file (without their ends); empty when it cannot be read.
std::vector<std::string> ReadLines(const std::string& path);

}  // namespace kestro::testing
