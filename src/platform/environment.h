// Process environment, shared by every module of the process (also by a
// library that another module loaded), so tests can steer the stand-ins; and
// which processes are running.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestro::platform {

std::optional<std::string> GetEnv(const char* name);
void SetEnv(const char* name, const std::string& value);
void UnsetEnv(const char* name);

// What the environment was when a caller last read it. A caller that reads
// switches at every one of thousands of calls keeps one mark, and reads them
// again only when EnvironmentChangedSince says so.
struct EnvironmentMark {
  bool taken = false;
  std::vector<const void*> entries;
};
// True when any variable may have been set, changed or removed since the
// mark was last taken (always the first time, and always where that cannot
// be told cheaply); then the mark is taken anew.
bool EnvironmentChangedSince(EnvironmentMark& mark);

uint32_t CurrentProcessId();
// Whether the process's standard output is a terminal (not a file or pipe).
bool StandardOutputIsTerminal();
// False once the process has ended (or never was); true while it runs or
// when that cannot be told.
bool ProcessIsRunning(uint32_t id);

}  // namespace kestro::platform
