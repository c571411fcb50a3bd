#include "favorites/folder_index.h"

#include <cstring>

#include "base/text.h"

namespace kestro {

std::string FolderIndex::Key(int32_t container, std::string_view name) {
  std::string key(sizeof container, '\0');
  std::memcpy(key.data(), &container, sizeof container);
  key += AsciiUpper(name);
  return key;
}

void FolderIndex::Build(const std::vector<FavoriteItem*>& entries) {
  const auto count = static_cast<int32_t>(entries.size());
  subtree_end_.assign(entries.size(), count);
  folders_.clear();
  favorites_.clear();
  positions_.clear();
  positions_.reserve(entries.size());
  // The entries whose subtree is still open, innermost last. An entry is
  // directly inside the innermost open entry of a lower Level when its Level
  // is exactly one more; a Level-0 entry is at the top.
  std::vector<int32_t> open;
  for (int32_t i = 0; i < count; ++i) {
    const int32_t level = entries[static_cast<std::size_t>(i)]->Level;
    positions_.emplace(entries[static_cast<std::size_t>(i)], i);
    while (!open.empty() && entries[static_cast<std::size_t>(open.back())]->Level >= level) {
      subtree_end_[static_cast<std::size_t>(open.back())] = i;
      open.pop_back();
    }
    int32_t container = -2;  // inside nothing that can be named
    if (open.empty()) {
      if (level == 0) container = kTop;
    } else if (entries[static_cast<std::size_t>(open.back())]->Level + 1 == level &&
               !entries[static_cast<std::size_t>(open.back())]->isUrl) {
      container = open.back();
    }
    if (container != -2) {
      const FavoriteItem& item = *entries[static_cast<std::size_t>(i)];
      auto& map = item.isUrl ? favorites_ : folders_;
      map.emplace(Key(container, item.NameText()), i);  // the first one wins
    }
    open.push_back(i);
  }
}

int32_t FolderIndex::ChildFolder(int32_t container, std::string_view name) const {
  auto it = folders_.find(Key(container, name));
  return it == folders_.end() ? -1 : it->second;
}

int32_t FolderIndex::ChildFavorite(int32_t container, std::string_view name) const {
  auto it = favorites_.find(Key(container, name));
  return it == favorites_.end() ? -1 : it->second;
}

int32_t FolderIndex::IndexOf(const FavoriteItem* entry) const {
  auto it = positions_.find(entry);
  return it == positions_.end() ? -1 : it->second;
}

}  // namespace kestro
