#include "platform/environment.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace kestro::platform {

std::optional<std::string> GetEnv(const char* name) {
  const char* v = std::getenv(name);
  if (!v) return std::nullopt;
  return std::string(v);
}

void SetEnv(const char* name, const std::string& value) { ::setenv(name, value.c_str(), 1); }

void UnsetEnv(const char* name) { ::unsetenv(name); }

bool StandardOutputIsTerminal() { return ::isatty(STDOUT_FILENO) == 1; }

uint32_t CurrentProcessId() { return static_cast<uint32_t>(::getpid()); }

bool ProcessIsRunning(uint32_t id) {
  if (id == 0 || id > static_cast<uint32_t>(INT32_MAX)) return false;
  return ::kill(static_cast<pid_t>(id), 0) == 0 || errno != ESRCH;
}

}  // namespace kestro::platform
