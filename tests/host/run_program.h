// Runs a built program with arguments and collects its exit code and output
// (stdout and stderr together), for tests of command-line programs.
#pragma once

#include <string>
#include <vector>

namespace kestro::testing {

struct ProgramRun {
  int exit_code = -1;
  std::string output;
};
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args);

}  // namespace kestro::testing
