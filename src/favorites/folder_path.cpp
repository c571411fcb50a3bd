#include "favorites/folder_path.h"

namespace kestro {

std::vector<std::string> SplitFolderPath(std::string_view path) {
  // A separator is "\", CR LF, a lone CR or a lone LF; the text before the
  // first one is never a component, and a path that ends in a separator has
  // no empty last component.
  std::vector<std::string> parts;
  std::string current;
  for (std::size_t i = 0; i < path.size(); ++i) {
    char c = path[i];
    if (c == '\\' || c == '\n') {
      parts.push_back(std::move(current));
      current.clear();
    } else if (c == '\r') {
      if (i + 1 < path.size() && path[i + 1] == '\n') ++i;
      parts.push_back(std::move(current));
      current.clear();
    } else {
      current.push_back(c);
    }
  }
  if (!current.empty()) parts.push_back(std::move(current));
  if (!parts.empty()) parts.erase(parts.begin());
  return parts;
}

std::string UnsafeNameReason(std::string_view name) {
  for (char c : name) {
    if (c == '\\' || c == '/') return "its name holds a path separator";
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

}  // namespace kestro
