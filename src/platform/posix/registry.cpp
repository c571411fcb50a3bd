#include "platform/environment.h"
#include "platform/reg_file.h"

namespace kestro::platform {
namespace {

// KESTRO_REGISTRY, else $XDG_CONFIG_HOME/kestro/registry.reg, else
// ~/.config/kestro/registry.reg.
std::string RegistryFile() {
  if (auto f = GetEnv("KESTRO_REGISTRY"); f && !f->empty()) return *f;
  if (auto x = GetEnv("XDG_CONFIG_HOME"); x && !x->empty()) return *x + "/kestro/registry.reg";
  return GetEnv("HOME").value_or(".") + "/.config/kestro/registry.reg";
}

}  // namespace

std::unique_ptr<RegistryKey> OpenCurrentUserKey(const std::string& path, bool create) {
  return OpenFileRegistryKey(RegistryFile(), path, create);
}

bool DeleteCurrentUserKey(const std::string& path) { return DeleteFileRegistryKey(RegistryFile(), path); }

}  // namespace kestro::platform
