#include "platform/dynamic_library.h"

#include <dlfcn.h>
#include <unistd.h>

#include "base/text.h"

namespace kestro::platform {

std::string PlatformLibraryName(std::string_view dll_name) {
  std::string name(dll_name);
  if (name.size() >= 4 && SameTextAscii(std::string_view(name).substr(name.size() - 4), ".dll")) {
    name.replace(name.size() - 4, 4, ".so");
  }
  return name;
}

DynamicLibrary::DynamicLibrary(const std::string& dll_path) {
  std::string path = PlatformLibraryName(dll_path);
  // A bare name is looked for in the current directory first, as Windows
  // does for the folder the host made current before loading.
  if (path.find('/') == std::string::npos && ::access(path.c_str(), F_OK) == 0) path = "./" + path;
  handle_ = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle_) {
    const char* e = ::dlerror();
    error_ = e ? e : "cannot load " + path;
  }
}

void* DynamicLibrary::Symbol(const char* name) const {
  return handle_ ? ::dlsym(handle_, name) : nullptr;
}

void DynamicLibrary::Close(void* handle) { ::dlclose(handle); }

}  // namespace kestro::platform
