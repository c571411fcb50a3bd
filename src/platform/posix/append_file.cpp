#include "platform/append_file.h"

#include <fcntl.h>
#include <unistd.h>

#include "platform/posix/write_all.h"

namespace kestro::platform {

AppendFile::~AppendFile() { Close(); }

bool AppendFile::Open(const std::string& path, bool truncate) {
  Close();
  int flags = O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | (truncate ? O_TRUNC : 0);
  int fd = ::open(path.c_str(), flags, 0644);
  if (fd < 0) return false;
  handle_ = fd;
  return true;
}

bool AppendFile::Append(std::string_view data) {
  if (!IsOpen()) return false;
  return WriteAll(static_cast<int>(handle_), data);
}

bool AppendFile::Sync() {
  if (!IsOpen()) return false;
#if defined(__APPLE__)
  return ::fsync(static_cast<int>(handle_)) == 0;
#else
  return ::fdatasync(static_cast<int>(handle_)) == 0;
#endif
}

void AppendFile::Close() {
  if (!IsOpen()) return;
  ::close(static_cast<int>(handle_));
  handle_ = kClosed;
}

}  // namespace kestro::platform
