#include "run_program.h"

#include <cstdio>
#include <cstdlib>

#if !defined(_WIN32)
#include <sys/wait.h>
#endif

namespace kestro::testing {

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args) {
  std::string command = "\"" + program + "\"";
  for (const std::string& a : args) command += " \"" + a + "\"";
  command += " 2>&1";
  ProgramRun run;
#if defined(_WIN32)
  command = "\"" + command + "\"";  // cmd.exe strips the outer pair
  std::FILE* pipe = ::_popen(command.c_str(), "r");
#else
  std::FILE* pipe = ::popen(command.c_str(), "r");
#endif
  if (!pipe) return run;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) run.output.append(buf, n);
#if defined(_WIN32)
  run.exit_code = ::_pclose(pipe);
#else
  int status = ::pclose(pipe);
  run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
  return run;
}

}  // namespace kestro::testing
