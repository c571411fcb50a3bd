// Files and folders. Paths passed here are native paths; NativePath turns the
// stores' "\"-separated texts into one. Failures are reported by result, never
// by exception, so callers choose what a failure means.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kestro::platform {

// Replaces '\\' by the native separator (a no-op on Windows).
std::string NativePath(std::string_view path);

bool FileExists(const std::string& path);       // a file, not a folder
bool DirectoryExists(const std::string& path);  // a folder
bool PathExists(const std::string& path);
int64_t FileSize(const std::string& path);  // -1 when it cannot be read

bool ReadWholeFile(const std::string& path, std::string& contents);
// Reads the file from start to end through one buffer of block bytes, for a
// large file that is only looked through once: each is given the next block
// bytes, and the last piece may be shorter. False when the file cannot be
// opened or read (after the pieces read so far were given).
bool ReadFileInBlocks(const std::string& path, std::size_t block,
                      const std::function<void(std::string_view piece)>& each);
// Replaces the file in one step: a temporary file beside it is written,
// flushed to disk and renamed over the old one, so a crash leaves either the
// old file or the new one, never a half-written file.
bool WriteFileAtomically(const std::string& path, std::string_view contents);

// Writes a file that must be new, the same way (a temporary beside it,
// renamed into place), except that an entry of that name, whatever it is,
// is never replaced: kTaken then, with nothing changed. On a file system
// that cannot refuse in the rename itself, it is looked for just before.
enum class NewFile { kWritten, kTaken, kFailed };
NewFile WriteNewFile(const std::string& path, std::string_view contents);

// For a run that replaces many small files and can make its changes again
// if the machine stops before they are on disk: from HoldFlushes on,
// WriteFileAtomically still replaces each file by one rename but does not
// flush it; FlushHeldWrites then puts every file written meanwhile on disk
// at once and stops holding. Flushing each small file alone costs a disk
// round trip per file. (Windows flushes each file as it is written.)
void HoldFlushes();
bool FlushHeldWrites();

bool CreateDirectories(const std::string& path);
bool RemoveEmptyDirectory(const std::string& path);
bool DeleteFileAt(const std::string& path);
bool RenamePath(const std::string& from, const std::string& to);
bool DeleteTree(const std::string& path);

struct DirectoryEntry {
  std::string name;
  bool is_directory = false;
};
// Every entry but "." and "..", hidden ones included, ordered as NTFS lists
// them (names compared upper-cased, bytewise), so the order does not depend on
// the file system.
bool ListDirectory(const std::string& path, std::vector<DirectoryEntry>& entries);

}  // namespace kestro::platform
