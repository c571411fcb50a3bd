// Process environment, shared by every module of the process (also by a
// library that another module loaded), so tests can steer the stand-ins; and
// which processes are running.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kestro::platform {

std::optional<std::string> GetEnv(const char* name);
void SetEnv(const char* name, const std::string& value);
void UnsetEnv(const char* name);

uint32_t CurrentProcessId();
// Whether the process's standard output is a terminal (not a file or pipe).
bool StandardOutputIsTerminal();
// False once the process has ended (or never was); true while it runs or
// when that cannot be told.
bool ProcessIsRunning(uint32_t id);

}  // namespace kestro::platform
