#include "platform/file_system.h"

#include <algorithm>

#include "base/text.h"
#include "platform/fault_switch.h"
#include "platform/temporary_files.h"
#include "platform/win32/compat.h"
#include "platform/win32/long_path.h"

namespace kestro::platform {

std::string NativePath(std::string_view path) { return std::string(path); }

bool FileExists(const std::string& path) {
  DWORD a = GetFileAttributesW(WidePath(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path) {
  DWORD a = GetFileAttributesW(WidePath(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool PathExists(const std::string& path) {
  return GetFileAttributesW(WidePath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

int64_t FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data)) return -1;
  return (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool ReadWholeFile(const std::string& path, std::string& contents) {
  HANDLE h = CreateFileW(WidePath(path).c_str(), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  // Sized once from the file's length and read straight into place; a file
  // that grows meanwhile is read to its end all the same.
  LARGE_INTEGER size{};
  std::size_t want = GetFileSizeEx(h, &size) && size.QuadPart > 0 ? static_cast<std::size_t>(size.QuadPart) : 0;
  contents.resize(want + 1);
  std::size_t have = 0;
  bool ok = true;
  for (;;) {
    if (have == contents.size()) contents.resize(contents.size() * 2);
    const std::size_t room = std::min<std::size_t>(contents.size() - have, 1u << 30);
    DWORD got = 0;
    if (!ReadFile(h, contents.data() + have, static_cast<DWORD>(room), &got, nullptr)) {
      ok = false;
      break;
    }
    if (got == 0) break;
    have += got;
  }
  CloseHandle(h);
  contents.resize(ok ? have : 0);
  return ok;
}

bool ReadFileInBlocks(const std::string& path, std::size_t block,
                      const std::function<void(std::string_view piece)>& each) {
  HANDLE h = CreateFileW(WidePath(path).c_str(), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  std::string buffer(block, '\0');
  std::size_t have = 0;
  bool ok = true;
  for (;;) {
    const std::size_t room = std::min<std::size_t>(block - have, 1u << 30);
    DWORD got = 0;
    if (!ReadFile(h, buffer.data() + have, static_cast<DWORD>(room), &got, nullptr)) ok = false;
    have += got;
    if (have == block || ((!ok || got == 0) && have > 0)) {
      each(std::string_view(buffer.data(), have));
      have = 0;
    }
    if (!ok || got == 0) break;
  }
  CloseHandle(h);
  return ok;
}

namespace {

// The file a path names once a symbolic link is followed, so that replacing
// it replaces the link's target and the link stays. A link that cannot be
// followed is replaced itself.
std::string FollowLink(const std::string& path) {
  const std::wstring wide = WidePath(path);
  const DWORD a = GetFileAttributesW(wide.c_str());
  if (a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_REPARSE_POINT)) return path;
  HANDLE h = CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return path;
  constexpr DWORD kFlags = FILE_NAME_NORMALIZED | VOLUME_NAME_DOS;
  std::wstring buffer(GetFinalPathNameByHandleW(h, nullptr, 0, kFlags), L'\0');
  const DWORD n = buffer.empty() ? 0 : GetFinalPathNameByHandleW(h, buffer.data(), static_cast<DWORD>(buffer.size()), kFlags);
  CloseHandle(h);
  if (n == 0 || n >= buffer.size()) return path;
  std::string target = NarrowText(buffer.data(), static_cast<int>(n));
  if (StartsWith(target, "\\\\?\\UNC\\")) return "\\" + target.substr(7);
  if (StartsWith(target, "\\\\?\\")) return target.substr(4);
  return target;
}

// Writes contents to a new file at wide_temp and flushes it to disk; on any
// failure the file is removed again.
bool WriteTemporaryFile(const std::wstring& wide_temp, std::string_view contents) {
  HANDLE h = CreateFileW(wide_temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  while (ok && !contents.empty()) {
    DWORD written = 0;
    DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(contents.size(), 1u << 30));
    ok = WriteFile(h, contents.data(), chunk, &written, nullptr) != 0;
    contents.remove_prefix(written);
  }
  ok = ok && FlushFileBuffers(h);
  CloseHandle(h);
  if (!ok) DeleteFileW(wide_temp.c_str());
  return ok;
}

}  // namespace

// Each file is flushed as it is written here: there is no call to flush a
// whole volume without administrator rights.
void HoldFlushes() {}
bool FlushHeldWrites() { return true; }

bool WriteFileAtomically(const std::string& path, std::string_view contents) {
  const std::string target = FollowLink(path);
  RemoveStaleTemporariesOnce(target);
  const std::string temp = TemporaryFileFor(target);
  const std::wstring wide_temp = WidePath(temp), wide_target = WidePath(target);
  if (!WriteTemporaryFile(wide_temp, contents)) return false;
  bool ok = !FaultRequested(FileOperation::kWrite, path);
  if (ok) {
    // ReplaceFile keeps the old file's attributes and security settings; a
    // new file (or one ReplaceFile cannot handle) is moved into place.
    ok = FileExists(target) && ReplaceFileW(wide_target.c_str(), wide_temp.c_str(), nullptr,
                                            REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
    ok = ok || MoveFileExW(wide_temp.c_str(), wide_target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  }
  if (!ok) DeleteFileW(wide_temp.c_str());
  return ok;
}

NewFile WriteNewFile(const std::string& path, std::string_view contents) {
  RemoveStaleTemporariesOnce(path);
  const std::string temp = TemporaryFileFor(path);
  const std::wstring wide_temp = WidePath(temp), wide_target = WidePath(path);
  if (!WriteTemporaryFile(wide_temp, contents)) return NewFile::kFailed;
  const bool ok = !FaultRequested(FileOperation::kWrite, path);
  // Without MOVEFILE_REPLACE_EXISTING the move refuses a name already there.
  if (ok && MoveFileExW(wide_temp.c_str(), wide_target.c_str(), MOVEFILE_WRITE_THROUGH)) return NewFile::kWritten;
  const DWORD error = ok ? GetLastError() : ERROR_SUCCESS;
  DeleteFileW(wide_temp.c_str());
  return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ? NewFile::kTaken : NewFile::kFailed;
}

bool CreateDirectories(const std::string& path) {
  if (path.empty() || DirectoryExists(path)) return !path.empty();
  if (FaultRequested(FileOperation::kMakeFolder, path)) return false;
  std::size_t pos = path.find_last_of("/\\");
  if (pos != std::string::npos && pos > 0) {
    std::string parent = path.substr(0, pos);
    if (!(parent.size() == 2 && parent[1] == ':')) CreateDirectories(parent);
  }
  CreateDirectoryW(WidePath(path).c_str(), nullptr);
  return DirectoryExists(path);
}

bool RemoveEmptyDirectory(const std::string& path) { return RemoveDirectoryW(WidePath(path).c_str()) != 0; }

bool DeleteFileAt(const std::string& path) {
  return !FaultRequested(FileOperation::kDelete, path) && DeleteFileW(WidePath(path).c_str()) != 0;
}

bool RenamePath(const std::string& from, const std::string& to) {
  return !FaultRequested(FileOperation::kRename, from) && MoveFileW(WidePath(from).c_str(), WidePath(to).c_str()) != 0;
}

bool DeleteTree(const std::string& path) {
  // SHFileOperation's FO_DELETE, silent: here done directly so that no shell
  // library is needed and nothing asks the user.
  std::vector<DirectoryEntry> entries;
  if (!ListDirectory(path, entries)) return DeleteFileAt(path);
  bool ok = true;
  for (const auto& e : entries) {
    std::string child = path + "\\" + e.name;
    ok = (e.is_directory ? DeleteTree(child) : DeleteFileAt(child)) && ok;
  }
  return RemoveEmptyDirectory(path) && ok;
}

bool ListDirectory(const std::string& path, std::vector<DirectoryEntry>& entries) {
  entries.clear();
  WIN32_FIND_DATAW data;
  std::string pattern = path + (path.empty() || path.back() == '\\' ? "" : "\\") + "*.*";
  HANDLE h = FindFirstFileW(WidePath(pattern).c_str(), &data);
  if (h == INVALID_HANDLE_VALUE) return DirectoryExists(path);
  do {
    std::string name = NarrowText(data.cFileName);
    if (name == "." || name == "..") continue;
    entries.push_back({name, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileW(h, &data));
  FindClose(h);
  // NTFS gives this order; other file systems may not, so make it so.
  std::stable_sort(entries.begin(), entries.end(),
                   [](const DirectoryEntry& a, const DirectoryEntry& b) {
                     return AsciiUpper(a.name) < AsciiUpper(b.name);
                   });
  return true;
}

}  // namespace kestro::platform
