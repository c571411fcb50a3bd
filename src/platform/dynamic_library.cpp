// The handle's ownership, the same on every platform; loading, lookup and
// closing are the platform's (posix/ and win32/).
#include "platform/dynamic_library.h"

#include <utility>

namespace kestro::platform {

DynamicLibrary::~DynamicLibrary() { Release(); }

DynamicLibrary::DynamicLibrary(DynamicLibrary&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), error_(std::move(other.error_)) {}

DynamicLibrary& DynamicLibrary::operator=(DynamicLibrary&& other) noexcept {
  if (this != &other) {
    Release();
    handle_ = std::exchange(other.handle_, nullptr);
    error_ = std::move(other.error_);
  }
  return *this;
}

void DynamicLibrary::Release() {
  if (handle_) Close(handle_);
  handle_ = nullptr;
}

}  // namespace kestro::platform
