#include "platform/dynamic_library.h"

#include "platform/win32/compat.h"
#include "platform/win32/library_detach.h"

namespace kestro::platform {
namespace {

bool inside_library_detach = false;  // one thread runs DllMain at a time

}  // namespace

bool InsideLibraryDetach() { return inside_library_detach; }
void SetInsideLibraryDetach(bool inside) { inside_library_detach = inside; }

std::string PlatformLibraryName(std::string_view dll_name) { return std::string(dll_name); }

DynamicLibrary::DynamicLibrary(const std::string& dll_path) {
  UINT old_mode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  handle_ = LoadLibraryA(dll_path.c_str());
  SetErrorMode(old_mode);
  if (!handle_)
    error_ = "cannot load " + dll_path + " (error " + std::to_string(GetLastError()) + ")";
}

void* DynamicLibrary::Symbol(const char* name) const {
  return handle_ ? reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name))
                 : nullptr;
}

void DynamicLibrary::Close(void* handle) {
  // Inside DllMain the loader lock is held, and Windows forbids unloading
  // other libraries there; their references go with the process instead.
  if (!InsideLibraryDetach()) FreeLibrary(static_cast<HMODULE>(handle));
}

}  // namespace kestro::platform
