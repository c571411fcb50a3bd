#include "platform/environment.h"

#include <cstdlib>

namespace kestro::platform {

std::optional<std::string> GetEnv(const char* name) {
  const char* v = std::getenv(name);
  if (!v) return std::nullopt;
  return std::string(v);
}

void SetEnv(const char* name, const std::string& value) { ::setenv(name, value.c_str(), 1); }

void UnsetEnv(const char* name) { ::unsetenv(name); }

}  // namespace kestro::platform
