// An append-only file for write-ahead journals. Each Append has reached the
// operating system when it returns, so a killed process loses nothing it
// appended; Sync also pushes the file to the disk. Failures are reported by
// result. The file is closed when the object goes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kestro::platform {

class AppendFile {
 public:
  AppendFile() = default;
  ~AppendFile();
  AppendFile(const AppendFile&) = delete;
  AppendFile& operator=(const AppendFile&) = delete;

  // Opens (creating it when missing); truncate empties an existing file.
  bool Open(const std::string& path, bool truncate);
  bool IsOpen() const { return handle_ != kClosed; }
  // Writes all of data at the end of the file.
  bool Append(std::string_view data);
  // Flushes what was appended to the disk.
  bool Sync();
  void Close();

 private:
  static constexpr intptr_t kClosed = -1;
  intptr_t handle_ = kClosed;
};

}  // namespace kestro::platform
