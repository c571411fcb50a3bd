#include "platform/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <climits>
#include <filesystem>

#include "base/text.h"
#include "platform/fault_switch.h"
#include "platform/posix/write_all.h"
#include "platform/temporary_files.h"

namespace kestro::platform {

std::string NativePath(std::string_view path) {
  std::string out(path);
  std::replace(out.begin(), out.end(), '\\', '/');
  return out;
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool PathExists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

int64_t FileSize(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return -1;
  return static_cast<int64_t>(st.st_size);
}

bool ReadWholeFile(const std::string& path, std::string& contents) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    return false;
  }
  // Sized once from the file's length and read straight into place; a file
  // that grows meanwhile is read to its end all the same.
  std::size_t size = st.st_size > 0 ? static_cast<std::size_t>(st.st_size) : 0;
  contents.resize(size + 1);
  std::size_t have = 0;
  for (;;) {
    if (have == contents.size()) contents.resize(contents.size() * 2);
    ssize_t n = ::read(fd, contents.data() + have, contents.size() - have);
    if (n < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      contents.clear();
      return false;
    }
    if (n == 0) break;
    have += static_cast<std::size_t>(n);
    // A regular file read short of the room asked for is at its end: no
    // second read to be told so. (Files that give their length as 0, as
    // those of /proc do, are read until a read gives nothing.)
    if (S_ISREG(st.st_mode) && size > 0 && have < contents.size()) break;
  }
  ::close(fd);
  contents.resize(have);
  return true;
}

bool ReadFileInBlocks(const std::string& path, std::size_t block,
                      const std::function<void(std::string_view piece)>& each) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  std::string buffer(block, '\0');
  std::size_t have = 0;
  bool ok = true;
  for (;;) {
    ssize_t n = ::read(fd, buffer.data() + have, block - have);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) ok = false;
    if (n > 0) have += static_cast<std::size_t>(n);
    if (have == block || (n <= 0 && have > 0)) {
      each(std::string_view(buffer.data(), have));
      have = 0;
    }
    if (n <= 0) break;
  }
  ::close(fd);
  return ok;
}

namespace {

// The file a path names once symbolic links are followed, so that replacing
// it replaces the link's target and the link stays a link. A link to a file
// not yet there names that file. Empty when the links go round in a circle.
std::string FollowLinks(std::string path) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::string target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : PATH_MAX), '\0');
    const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
    if (n < 0) return path;
    target.resize(static_cast<std::size_t>(n));
    // A relative target is relative to the link's own folder.
    const std::size_t slash = path.find_last_of('/');
    path = (target.front() == '/' || slash == std::string::npos)
               ? target
               : path.substr(0, slash + 1) + target;
  }
  return {};
}

// The folders of the files written while flushes are held; never destroyed,
// as a host library may still write while the process ends.
struct HeldFlushes {
  bool holding = false;
  std::vector<std::string> folders;
};
HeldFlushes& Held() {
  static HeldFlushes* held = new HeldFlushes;
  return *held;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
}

}  // namespace

void HoldFlushes() { Held().holding = true; }

bool FlushHeldWrites() {
  HeldFlushes& held = Held();
  held.holding = false;
  bool ok = true;
  std::vector<dev_t> flushed;
  for (const std::string& folder : held.folders) {
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0) continue;  // gone since: nothing of it to keep
    if (std::find(flushed.begin(), flushed.end(), st.st_dev) != flushed.end()) continue;
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
      ok = false;
      continue;
    }
#ifdef __linux__
    ok = ::syncfs(fd) == 0 && ok;  // every file and folder change of that file system
#else
    ::sync();
#endif
    ::close(fd);
    flushed.push_back(st.st_dev);
  }
  held.folders.clear();
  return ok;
}

namespace {

// Writes contents to the temporary file temp (made with the mode and, where
// we may set them, the owner of old when given), flushed unless flushes are
// held. False, with temp removed, when any of it fails or the fault switch
// fails the write of path.
bool WriteTemporary(const std::string& temp, std::string_view contents, const std::string& path,
                    const struct stat* old) {
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  if (old) {
    if (::fchown(fd, old->st_uid, old->st_gid) != 0) (void)::fchown(fd, static_cast<uid_t>(-1), old->st_gid);
    (void)::fchmod(fd, old->st_mode & 07777);
  }
  bool ok = WriteAll(fd, contents) && (Held().holding || ::fsync(fd) == 0);
  ok = (::close(fd) == 0) && ok;
  ok = ok && !FaultRequested(FileOperation::kWrite, path);
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

// Makes the rename into target's folder durable, now or at FlushHeldWrites.
void KeepRename(const std::string& target) {
  const std::string folder = FolderOf(target);
  HeldFlushes& held = Held();
  if (held.holding) {
    if (std::find(held.folders.begin(), held.folders.end(), folder) == held.folders.end()) {
      held.folders.push_back(folder);
    }
    return;
  }
  int dfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
}

// Renames temp to target unless an entry of that name is there: 1 done,
// 0 taken, -1 failed (temp stays).
int RenameUnlessTaken(const std::string& temp, const std::string& target) {
#ifdef RENAME_NOREPLACE
  if (::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) return 1;
  if (errno == EEXIST) return 0;
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return -1;
#endif
  // A hard link refuses an existing name just as well.
  if (::link(temp.c_str(), target.c_str()) == 0) {
    ::unlink(temp.c_str());
    return 1;
  }
  if (errno == EEXIST) return 0;
  if (errno != EPERM && errno != ENOTSUP && errno != EOPNOTSUPP) return -1;
  struct stat st {};
  if (::lstat(target.c_str(), &st) == 0) return 0;
  return ::rename(temp.c_str(), target.c_str()) == 0 ? 1 : -1;
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view contents) {
  const std::string target = FollowLinks(path);
  if (target.empty()) return false;
  RemoveStaleTemporariesOnce(target);
  const std::string temp = TemporaryFileFor(target);
  // The new file keeps what the old one was: its permissions and, where we
  // may set them, its owner and group.
  struct stat old {};
  const bool replacing = ::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode);
  if (!WriteTemporary(temp, contents, path, replacing ? &old : nullptr)) return false;
  if (::rename(temp.c_str(), target.c_str()) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  KeepRename(target);
  return true;
}

NewFile WriteNewFile(const std::string& path, std::string_view contents) {
  RemoveStaleTemporariesOnce(path);
  const std::string temp = TemporaryFileFor(path);
  if (!WriteTemporary(temp, contents, path, nullptr)) return NewFile::kFailed;
  const int moved = RenameUnlessTaken(temp, path);
  if (moved != 1) {
    ::unlink(temp.c_str());
    return moved == 0 ? NewFile::kTaken : NewFile::kFailed;
  }
  KeepRename(path);
  return NewFile::kWritten;
}

bool CreateDirectories(const std::string& path) {
  // Most calls find the folder there: one look.
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
  if (FaultRequested(FileOperation::kMakeFolder, path)) return false;
  std::error_code ec;
  std::filesystem::create_directories(path, ec);
  return DirectoryExists(path);
}

bool RemoveEmptyDirectory(const std::string& path) { return ::rmdir(path.c_str()) == 0; }

bool DeleteFileAt(const std::string& path) {
  return !FaultRequested(FileOperation::kDelete, path) && ::unlink(path.c_str()) == 0;
}

bool RenamePath(const std::string& from, const std::string& to) {
  return !FaultRequested(FileOperation::kRename, from) && ::rename(from.c_str(), to.c_str()) == 0;
}

bool DeleteTree(const std::string& path) {
  std::error_code ec;
  std::filesystem::remove_all(path, ec);
  return !ec;
}

bool ListDirectory(const std::string& path, std::vector<DirectoryEntry>& entries) {
  entries.clear();
  DIR* dir = ::opendir(path.c_str());
  if (!dir) return false;
  while (dirent* e = ::readdir(dir)) {
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    DirectoryEntry entry{name, e->d_type == DT_DIR};
    // The listing tells the kind of most entries; a link (followed, as a
    // link to a folder is a folder) or an entry of unknown kind is looked at.
    if (e->d_type == DT_LNK || e->d_type == DT_UNKNOWN) {
      struct stat st {};
      std::string full = path + (path.empty() || path.back() == '/' ? "" : "/") + name;
      entry.is_directory = ::stat(full.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    }
    entries.push_back(std::move(entry));
  }
  ::closedir(dir);
  std::sort(entries.begin(), entries.end(), [](const DirectoryEntry& a, const DirectoryEntry& b) {
    std::string ua = AsciiUpper(a.name), ub = AsciiUpper(b.name);
    return ua != ub ? ua < ub : a.name < b.name;
  });
  return true;
}

}  // namespace kestro::platform
