#include "settings/settings_registry.h"

#include <optional>

#include "base/exception.h"
#include "base/text.h"
#include "platform/registry.h"

namespace kestro {
namespace {

using platform::RegistryKey;
using platform::RegType;
using platform::RegValue;

constexpr const char* kShellFoldersKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kNetscapeKey = "\\Software\\Netscape\\Netscape Navigator\\Main";

[[noreturn]] void InvalidDataType(const std::string& name) {
  throw Exception(Format("Invalid data type for '%s'", name.c_str()));
}

// A string value: REG_SZ or REG_EXPAND_SZ (left unexpanded), up to its first
// zero byte. Missing reads as empty.
std::string ReadString(RegistryKey& key, const std::string& name) {
  std::optional<RegValue> value = key.Read(name);
  if (!value) return std::string();
  if (value->type != static_cast<uint32_t>(RegType::kString) &&
      value->type != static_cast<uint32_t>(RegType::kExpandString)) {
    InvalidDataType(name);
  }
  std::string text = value->data;
  std::size_t nul = text.find('\0');
  if (nul != std::string::npos) text.resize(nul);
  return text;
}

std::optional<int32_t> ReadInteger(RegistryKey& key, const std::string& name) {
  std::optional<RegValue> value = key.Read(name);
  if (!value) return std::nullopt;
  if (value->type != static_cast<uint32_t>(RegType::kDword)) InvalidDataType(name);
  return static_cast<int32_t>(value->AsDword());
}

std::string ReadOptionalString(const char* key_path, const char* name) {
  std::unique_ptr<RegistryKey> key = platform::OpenCurrentUserKey(key_path, /*create=*/false);
  return key ? ReadString(*key, name) : std::string();
}

void Write(RegistryKey& key, const std::string& name, const RegValue& value) {
  if (!key.Write(name, value)) throw Exception(Format("Failed to set data for '%s'", name.c_str()));
}

}  // namespace

int32_t ReadBrowserType() {
  std::unique_ptr<RegistryKey> key = platform::OpenCurrentUserKey(kSettingsKey, /*create=*/true);
  if (!key) return 0;
  return ReadInteger(*key, kBrowserTypeValue).value_or(0);
}

std::string ReadFavoritesPath() {
  std::string path;
  if (std::unique_ptr<RegistryKey> key = platform::OpenCurrentUserKey(kSettingsKey, /*create=*/true)) {
    path = ReadString(*key, kFavoritesPathValue);
  }
  if (!path.empty()) return path;
  switch (ReadBrowserType()) {
    case kBrowserIE:
      return ReadOptionalString(kShellFoldersKey, "Favorites");
    case kBrowserNetscape:
      // Netscape's installation folder as it stands: the user still has to
      // pick the bookmark file inside it.
      return ReadOptionalString(kNetscapeKey, "Install Directory");
    default:
      return std::string();
  }
}

namespace {

int32_t ReadSettingOr(const char* name, int32_t fallback) {
  std::unique_ptr<RegistryKey> key = platform::OpenCurrentUserKey(kSettingsKey, /*create=*/false);
  if (!key) return fallback;
  return ReadInteger(*key, name).value_or(fallback);
}

}  // namespace

int32_t ReadMassDeletionLimit() {
  const int32_t limit = ReadSettingOr(kMassDeletionLimitValue, kDefaultMassDeletionLimit);
  return limit < 0 ? kDefaultMassDeletionLimit : limit;
}

int32_t ReadBackupCount() {
  const int32_t count = ReadSettingOr(kBackupCountValue, kDefaultBackupCount);
  return count < 0 ? kDefaultBackupCount : count;
}

bool WriteSettings(const std::string& favorites_path, int32_t browser_type) {
  std::unique_ptr<RegistryKey> key = platform::OpenCurrentUserKey(kSettingsKey, /*create=*/true);
  if (!key) return false;
  Write(*key, kFavoritesPathValue, platform::StringValue(favorites_path));
  Write(*key, kBrowserTypeValue, platform::DwordValue(static_cast<uint32_t>(browser_type)));
  return true;
}

}  // namespace kestro
