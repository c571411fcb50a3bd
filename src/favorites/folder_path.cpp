#include "favorites/folder_path.h"

namespace kestro {

std::vector<std::string> SplitFolderPath(std::string_view path) {
  std::vector<std::string> parts;
  std::size_t start = path.find('\\');
  while (start != std::string_view::npos) {
    const std::size_t next = path.find('\\', start + 1);
    parts.emplace_back(
        path.substr(start + 1, next == std::string_view::npos ? path.npos : next - start - 1));
    start = next;
  }
  return parts;
}

std::string UnsafeNameReason(std::string_view name) {
  for (char c : name) {
    if (c == '\\' || c == '/') return "its name holds a path separator";
    if (c == '\r' || c == '\n') return "its name holds a line break";
    if (c == ':') return "its name holds a drive or stream colon";
  }
  bool dots_only = !name.empty();
  bool has_dot = false;
  for (char c : name) {
    if (c == '.') {
      has_dot = true;
    } else if (c != ' ') {
      dots_only = false;
    }
  }
  // Windows drops trailing dots and blanks from a path component, so ". ."
  // and "..." would act like "." or "..".
  if (dots_only && has_dot) return "its name is a relative step (\"..\")";
  return {};
}

namespace {

// Windows opens a device for these names, whatever follows the first dot
// and in any case, so a favourite or folder by such a name would never be a
// file. Refused everywhere, so that a favourites folder moves between systems.
bool IsDeviceName(std::string_view name) {
  std::string stem(name.substr(0, name.find('.')));
  while (!stem.empty() && stem.back() == ' ') stem.pop_back();
  for (char& c : stem) c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL") return true;
  return stem.size() == 4 && (stem.rfind("COM", 0) == 0 || stem.rfind("LPT", 0) == 0) &&
         stem[3] >= '1' && stem[3] <= '9';
}

}  // namespace

std::string FileNameProblem(std::string_view name, std::string_view extension) {
  // The longest name of one file or folder on NTFS and the usual Linux file
  // systems.
  constexpr std::size_t kMaxFileName = 255;
  std::string reason = UnsafeNameReason(name);
  if (!reason.empty()) return reason;
  if (name.empty()) return "its name is empty";
  for (char c : name) {
    if (static_cast<unsigned char>(c) < 0x20) return "its name holds a control character";
    if (std::string_view("<>\"|?*").find(c) != std::string_view::npos) {
      return "its name holds a character Windows does not allow in file names";
    }
  }
  if (IsDeviceName(name)) return "its name is one Windows keeps for a device";
  if (extension.empty() && (name.back() == '.' || name.back() == ' ')) {
    return "its name ends in a dot or blank, which Windows drops";
  }
  if (name.size() + extension.size() > kMaxFileName) {
    return "its file name would be longer than the system allows";
  }
  return {};
}

}  // namespace kestro
