#include "platform/environment.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

extern char** environ;

namespace kestro::platform {

std::optional<std::string> GetEnv(const char* name) {
  const char* v = std::getenv(name);
  if (!v) return std::nullopt;
  return std::string(v);
}

void SetEnv(const char* name, const std::string& value) { ::setenv(name, value.c_str(), 1); }

void UnsetEnv(const char* name) { ::unsetenv(name); }

// The C library keeps every "NAME=value" string that setenv makes for the
// life of the process, so a new value never lands where an old one was: the
// same strings in the same places mean the same environment.
bool EnvironmentChangedSince(EnvironmentMark& mark) {
  char** const entries = environ;
  if (mark.taken && entries) {
    std::size_t i = 0;
    const std::size_t count = mark.entries.size();
    while (i < count && entries[i] == mark.entries[i]) ++i;
    if (i == count && !entries[i]) return false;
  }
  std::size_t count = 0;
  while (entries && entries[count]) ++count;
  mark.taken = true;
  mark.entries.assign(entries, entries + count);
  return true;
}

bool StandardOutputIsTerminal() { return ::isatty(STDOUT_FILENO) == 1; }

uint32_t CurrentProcessId() { return static_cast<uint32_t>(::getpid()); }

bool ProcessIsRunning(uint32_t id) {
  if (id == 0 || id > static_cast<uint32_t>(INT32_MAX)) return false;
  return ::kill(static_cast<pid_t>(id), 0) == 0 || errno != ESRCH;
}

}  // namespace kestro::platform
