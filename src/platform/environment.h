// Process environment, shared by every module of the process (also by a
// library that another module loaded), so tests can steer the stand-ins.
#pragma once

#include <optional>
#include <string>

namespace kestro::platform {

std::optional<std::string> GetEnv(const char* name);
void SetEnv(const char* name, const std::string& value);
void UnsetEnv(const char* name);

}  // namespace kestro::platform
