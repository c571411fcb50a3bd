// A loaded dynamic library and its functions by name. Library names are the
// host's Windows names ("sync20.dll"); on Linux the file is "sync20.so".
#pragma once

#include <string>
#include <string_view>

namespace kestro::platform {

// "sync20.dll" -> "sync20.so" on Linux; unchanged on Windows.
std::string PlatformLibraryName(std::string_view dll_name);

class DynamicLibrary {
 public:
  DynamicLibrary() = default;
  // Loads by path; a bare name is looked for in the current directory first,
  // then where the system looks. Check IsLoaded() afterwards.
  explicit DynamicLibrary(const std::string& dll_path);
  ~DynamicLibrary();
  DynamicLibrary(DynamicLibrary&& other) noexcept;
  DynamicLibrary& operator=(DynamicLibrary&& other) noexcept;
  DynamicLibrary(const DynamicLibrary&) = delete;
  DynamicLibrary& operator=(const DynamicLibrary&) = delete;

  bool IsLoaded() const { return handle_ != nullptr; }
  void* Symbol(const char* name) const;
  const std::string& Error() const { return error_; }
  void Release();

  template <typename F>
  F Function(const char* name) const {
    return reinterpret_cast<F>(Symbol(name));
  }

 private:
  void* handle_ = nullptr;
  std::string error_;
};

}  // namespace kestro::platform
