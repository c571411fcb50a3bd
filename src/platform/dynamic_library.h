// A loaded dynamic library and its functions by name. Library names are the
// host's Windows names ("sync20.dll"); on Linux the file is "sync20.so".
#pragma once

#include <string>
#include <string_view>

#include "base/exception.h"

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
  // Sets slot to the function, which the library must have: a missing one
  // raises EAssertionFailed naming the unit and line that asked for it.
  template <typename F>
  void Require(F& slot, const char* name, const char* unit, int line) const {
    slot = Function<F>(name);
    if (!slot) throw EAssertionFailed("Assertion failure", unit, line);
  }

 private:
  static void Close(void* handle);  // the platform's unload

  void* handle_ = nullptr;
  std::string error_;
};

}  // namespace kestro::platform
