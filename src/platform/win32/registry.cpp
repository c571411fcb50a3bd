#include "platform/environment.h"
#include "platform/reg_file.h"
#include "platform/win32/compat.h"

namespace kestro::platform {
namespace {

std::string KeyPath(const std::string& path) {
  std::string p = path;
  while (!p.empty() && p.front() == '\\') p.erase(p.begin());
  return p;
}

class Win32Key : public RegistryKey {
 public:
  explicit Win32Key(HKEY key) : key_(key) {}
  ~Win32Key() override { RegCloseKey(key_); }

  std::optional<RegValue> Read(const std::string& name) override {
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key_, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
    std::string data(size, '\0');
    if (RegQueryValueExA(key_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
        ERROR_SUCCESS) {
      return std::nullopt;
    }
    data.resize(size);
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
      std::size_t nul = data.find('\0');
      if (nul != std::string::npos) data.resize(nul);
    }
    return RegValue{type, data};
  }

  bool Write(const std::string& name, const RegValue& value) override {
    std::string data = value.data;
    if (value.type == REG_SZ || value.type == REG_EXPAND_SZ) data.push_back('\0');
    return RegSetValueExA(key_, name.c_str(), 0, value.type, reinterpret_cast<const BYTE*>(data.data()),
                          static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
  }

  bool DeleteValue(const std::string& name) override { return RegDeleteValueA(key_, name.c_str()) == ERROR_SUCCESS; }

  std::vector<std::string> ValueNames() override {
    std::vector<std::string> names;
    char name[16384];
    for (DWORD i = 0;; ++i) {
      DWORD len = sizeof name;
      if (RegEnumValueA(key_, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      names.emplace_back(name, len);
    }
    return names;
  }

  std::vector<std::string> SubKeyNames() override {
    std::vector<std::string> names;
    char name[256];
    for (DWORD i = 0;; ++i) {
      DWORD len = sizeof name;
      if (RegEnumKeyExA(key_, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      names.emplace_back(name, len);
    }
    return names;
  }

 private:
  HKEY key_;
};

std::optional<std::string> TestRegistryFile() {
  auto f = GetEnv("KESTRO_REGISTRY");
  if (f && !f->empty()) return f;
  return std::nullopt;
}

}  // namespace

std::unique_ptr<RegistryKey> OpenCurrentUserKey(const std::string& path, bool create) {
  if (auto file = TestRegistryFile()) return OpenFileRegistryKey(*file, path, create);
  HKEY key = nullptr;
  LONG rc = create ? RegCreateKeyExA(HKEY_CURRENT_USER, KeyPath(path).c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE,
                                     nullptr, &key, nullptr)
                   : RegOpenKeyExA(HKEY_CURRENT_USER, KeyPath(path).c_str(), 0, KEY_READ | KEY_WRITE, &key);
  if (rc != ERROR_SUCCESS && !create) {
    rc = RegOpenKeyExA(HKEY_CURRENT_USER, KeyPath(path).c_str(), 0, KEY_READ, &key);
  }
  if (rc != ERROR_SUCCESS) return nullptr;
  return std::make_unique<Win32Key>(key);
}

static bool DeleteTreeUnder(HKEY parent, const std::string& sub) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(parent, sub.c_str(), 0, KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS) return false;
  char name[256];
  for (;;) {
    DWORD len = sizeof name;
    if (RegEnumKeyExA(key, 0, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    if (!DeleteTreeUnder(key, std::string(name, len))) break;
  }
  RegCloseKey(key);
  return RegDeleteKeyA(parent, sub.c_str()) == ERROR_SUCCESS;
}

bool DeleteCurrentUserKey(const std::string& path) {
  if (auto file = TestRegistryFile()) return DeleteFileRegistryKey(*file, path);
  return DeleteTreeUnder(HKEY_CURRENT_USER, KeyPath(path));
}

}  // namespace kestro::platform
