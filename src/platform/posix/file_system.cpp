#include "platform/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
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

bool WriteFileAtomically(const std::string& path, std::string_view contents) {
  const std::string target = FollowLinks(path);
  if (target.empty()) return false;
  RemoveStaleTemporariesOnce(target);
  const std::string temp = TemporaryFileFor(target);
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  // The new file keeps what the old one was: its permissions and, where we
  // may set them, its owner and group.
  struct stat old {};
  if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
    if (::fchown(fd, old.st_uid, old.st_gid) != 0)
      (void)::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
    (void)::fchmod(fd, old.st_mode & 07777);
  }
  HeldFlushes& held = Held();
  bool ok = WriteAll(fd, contents) && (held.holding || ::fsync(fd) == 0);
  ok = (::close(fd) == 0) && ok;
  ok = ok && !FaultRequested(FileOperation::kWrite, path);
  if (ok) ok = ::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }
  // Make the rename itself durable.
  const std::string folder = FolderOf(target);
  if (held.holding) {
    if (std::find(held.folders.begin(), held.folders.end(), folder) == held.folders.end()) {
      held.folders.push_back(folder);
    }
    return true;
  }
  int dfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
  return true;
}

bool CreateDirectories(const std::string& path) {
  if (!DirectoryExists(path) && FaultRequested(FileOperation::kMakeFolder, path)) return false;
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
    DirectoryEntry entry{name, false};
    struct stat st {};
    std::string full = path + (path.empty() || path.back() == '/' ? "" : "/") + name;
    if (::stat(full.c_str(), &st) == 0) entry.is_directory = S_ISDIR(st.st_mode);
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
