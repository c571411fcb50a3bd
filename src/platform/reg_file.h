// The registry kept in a REGEDIT4 text file: the Linux registry, and the
// registry of tests on every platform. Every change rewrites the file
// atomically, so a crash never leaves it half-written.
#pragma once

#include <memory>
#include <string>

#include "platform/registry.h"

namespace kestro::platform {

std::unique_ptr<RegistryKey> OpenFileRegistryKey(const std::string& file, const std::string& path,
                                                 bool create);
bool DeleteFileRegistryKey(const std::string& file, const std::string& path);

}  // namespace kestro::platform
