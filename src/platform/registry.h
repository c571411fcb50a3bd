// HKEY_CURRENT_USER. On Windows the real registry; on Linux a per-user file
// in REGEDIT4 syntax that keeps value types. KESTRO_REGISTRY names that file
// (on Windows too, where it replaces the real registry), so tests can use a
// registry of their own. Key paths are compared without regard to case.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kestro::platform {

enum class RegType : uint32_t {
  kString = 1,        // REG_SZ
  kExpandString = 2,  // REG_EXPAND_SZ
  kBinary = 3,        // REG_BINARY
  kDword = 4,         // REG_DWORD
  kMultiString = 7,   // REG_MULTI_SZ
};

struct RegValue {
  uint32_t type = 0;  // a RegType, or any other type number as stored
  std::string data;   // raw bytes; strings without their terminating NUL
  uint32_t AsDword() const;
};

class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  virtual std::optional<RegValue> Read(const std::string& name) = 0;
  virtual bool Write(const std::string& name, const RegValue& value) = 0;
  virtual bool DeleteValue(const std::string& name) = 0;
  virtual std::vector<std::string> ValueNames() = 0;
  virtual std::vector<std::string> SubKeyNames() = 0;
};

// Opens HKEY_CURRENT_USER\<path> (a leading "\" is allowed); null when it does
// not exist and create is false, or when it cannot be opened.
std::unique_ptr<RegistryKey> OpenCurrentUserKey(const std::string& path, bool create);
// Deletes a key with everything below it.
bool DeleteCurrentUserKey(const std::string& path);

RegValue StringValue(const std::string& text);
RegValue DwordValue(uint32_t value);

}  // namespace kestro::platform
