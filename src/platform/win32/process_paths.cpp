#include "platform/process_paths.h"

#include "platform/environment.h"
#include "platform/win32/compat.h"

namespace kestro::platform {

std::string HostProgramFolder() {
  if (auto folder = GetEnv("KESTRO_HOST_FOLDER"); folder && !folder->empty()) {
    char last = folder->back();
    return (last == '\\' || last == '/') ? *folder : *folder + "\\";
  }
  char buf[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, buf, MAX_PATH);
  return FolderOf(std::string(buf, n));
}

std::string OwnModuleFile() {
  HMODULE module = nullptr;
  static const int anchor = 0;
  if (!GetModuleHandleExA(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          reinterpret_cast<LPCSTR>(&anchor), &module)) {
    return {};
  }
  char buf[MAX_PATH];
  DWORD n = GetModuleFileNameA(module, buf, MAX_PATH);
  return std::string(buf, n);
}

std::string CurrentDirectory() {
  char buf[MAX_PATH];
  DWORD n = GetCurrentDirectoryA(MAX_PATH, buf);
  return std::string(buf, n);
}

bool SetCurrentDirectory(const std::string& dir) { return SetCurrentDirectoryA(dir.c_str()) != 0; }

char PathSeparator() { return '\\'; }

}  // namespace kestro::platform
