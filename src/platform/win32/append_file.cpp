#include "platform/append_file.h"

#include <algorithm>

#include "platform/win32/compat.h"
#include "platform/win32/long_path.h"

namespace kestro::platform {

AppendFile::~AppendFile() { Close(); }

bool AppendFile::Open(const std::string& path, bool truncate) {
  Close();
  // FILE_APPEND_DATA alone makes every write land at the end of the file.
  HANDLE h = CreateFileW(WidePath(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                         truncate ? CREATE_ALWAYS : OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  handle_ = reinterpret_cast<intptr_t>(h);
  return true;
}

bool AppendFile::Append(std::string_view data) {
  if (!IsOpen()) return false;
  HANDLE h = reinterpret_cast<HANDLE>(handle_);
  while (!data.empty()) {
    DWORD written = 0;
    DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(data.size(), 1u << 30));
    if (!WriteFile(h, data.data(), chunk, &written, nullptr)) return false;
    data.remove_prefix(written);
  }
  return true;
}

bool AppendFile::Sync() {
  if (!IsOpen()) return false;
  return FlushFileBuffers(reinterpret_cast<HANDLE>(handle_)) != 0;
}

void AppendFile::Close() {
  if (!IsOpen()) return;
  CloseHandle(reinterpret_cast<HANDLE>(handle_));
  handle_ = kClosed;
}

}  // namespace kestro::platform
