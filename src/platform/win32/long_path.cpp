#include "platform/win32/long_path.h"

#include <algorithm>

namespace kestro::platform {
namespace {

// CreateDirectory leaves room for an 8.3 name below the folder it makes, so
// a path is extended a little before MAX_PATH.
constexpr std::size_t kLongFrom = MAX_PATH - 12;

bool IsExtendedPath(const std::wstring& path) { return path.rfind(L"\\\\?\\", 0) == 0; }

}  // namespace

std::wstring WideText(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return wide;
}

std::string NarrowText(const wchar_t* text, int length) {
  const int n = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return std::string();
  std::string narrow(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, length, narrow.data(), n, nullptr, nullptr);
  if (length < 0 && !narrow.empty() && narrow.back() == '\0') narrow.pop_back();
  return narrow;
}

std::wstring WidePath(const std::string& path) {
  std::wstring wide = WideText(path);
  if (wide.size() < kLongFrom || IsExtendedPath(wide)) return wide;
  std::replace(wide.begin(), wide.end(), L'/', L'\\');
  // The full path resolves "." and ".." and a relative start, which an
  // extended path would take literally.
  DWORD n = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (n == 0) return wide;
  std::wstring full(n, L'\0');
  n = GetFullPathNameW(wide.c_str(), n, full.data(), nullptr);
  if (n == 0 || n >= full.size()) return wide;
  full.resize(n);
  if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

bool IsLongPath(const std::string& path) { return IsExtendedPath(WidePath(path)); }

}  // namespace kestro::platform
