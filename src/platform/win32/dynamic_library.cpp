#include "platform/dynamic_library.h"

#include "platform/win32/compat.h"

namespace kestro::platform {

std::string PlatformLibraryName(std::string_view dll_name) { return std::string(dll_name); }

DynamicLibrary::DynamicLibrary(const std::string& dll_path) {
  UINT old_mode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  handle_ = LoadLibraryA(dll_path.c_str());
  SetErrorMode(old_mode);
  if (!handle_) error_ = "cannot load " + dll_path + " (error " + std::to_string(GetLastError()) + ")";
}

DynamicLibrary::~DynamicLibrary() { Release(); }

DynamicLibrary::DynamicLibrary(DynamicLibrary&& other) noexcept
    : handle_(other.handle_), error_(std::move(other.error_)) {
  other.handle_ = nullptr;
}

DynamicLibrary& DynamicLibrary::operator=(DynamicLibrary&& other) noexcept {
  if (this != &other) {
    Release();
    handle_ = other.handle_;
    error_ = std::move(other.error_);
    other.handle_ = nullptr;
  }
  return *this;
}

void* DynamicLibrary::Symbol(const char* name) const {
  return handle_ ? reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name)) : nullptr;
}

void DynamicLibrary::Release() {
  if (handle_) FreeLibrary(static_cast<HMODULE>(handle_));
  handle_ = nullptr;
}

}  // namespace kestro::platform
