// Writes all of data to a file descriptor, going on after a short write or an
// interrupted call. False on any other failure.
#pragma once

#include <unistd.h>

#include <cerrno>
#include <string_view>

namespace kestro::platform {

inline bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace kestro::platform
