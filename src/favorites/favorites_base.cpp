#include "favorites/favorites_base.h"

#include <cstring>

#include "favorites/folder_path.h"
#include "favorites/kestro_error.h"

namespace kestro {

TFavoritesBase::~TFavoritesBase() = default;

std::vector<std::string> TFavoritesBase::TakeNotices() {
  std::vector<std::string> taken;
  taken.swap(notices_);
  return taken;
}

const FolderIndex& TFavoritesBase::Index() const {
  if (!index_valid_) {
    index_.Build(entries_);
    index_valid_ = true;
  }
  return index_;
}

int32_t TFavoritesBase::FindPath(const std::string& path) const {
  if (path.empty()) return 0;
  const std::vector<std::string> components = SplitFolderPath(path);
  if (components.empty()) return -1;
  int32_t found = FolderIndex::kTop;
  for (const std::string& component : components) {
    found = Index().ChildFolder(found, component);
    if (found == -1) return -1;
  }
  return found;
}

int32_t TFavoritesBase::FindFavorite(const std::string& folder_path,
                                     const std::string& name) const {
  if (folder_path.empty()) return Index().ChildFavorite(FolderIndex::kTop, name);
  const int32_t folder = FindPath(folder_path);
  if (folder == -1) return -1;
  return Index().ChildFavorite(folder, name);
}

FavoriteItemView TFavoritesBase::GetFolderItems(const std::string& path, int32_t parent) {
  FavoriteItemView items;
  if (entries_.empty()) return items;
  const int32_t k = FindPath(path);
  if (k == -1) return items;
  int32_t level;
  int32_t i;
  if (path.empty()) {
    level = entries_[0]->Level;
    i = 0;
  } else {
    level = entries_[static_cast<std::size_t>(k)]->Level + 1;
    i = k + 1;
  }
  // Entries deeper than the children's level lie in some subtree: jump over
  // the whole subtree instead of stepping through it.
  const FolderIndex& index = Index();
  while (i < Count()) {
    FavoriteItem* entry = entries_[static_cast<std::size_t>(i)];
    if (entry->Level < level) break;
    if (entry->Level == level) {
      entry->Parent = parent;
      items.push_back(entry);
    }
    i = index.SubtreeEnd(i);
  }
  return items;
}

void TFavoritesBase::DeleteFolder(const std::string& path) {
  if (path.empty()) return;  // the top level is not a folder that can go
  const int32_t k = FindPath(path);
  if (k != -1) RemoveEntry(k);
}

// The favourite's own entry goes. A lookup among folders only would never
// find a favourite, and would remove a folder that happens to share the path.
void TFavoritesBase::DeleteFavorite(const std::string& path) {
  const std::size_t cut = path.rfind('\\');
  if (cut == std::string::npos) return;
  const int32_t k = FindFavorite(path.substr(0, cut), path.substr(cut + 1));
  if (k != -1) RemoveEntry(k);
}

void TFavoritesBase::AddFavorite(const std::string& path, FavoriteItem item) {
  WriteLog("TFavoritesBase.AddFavorite. Pathname:" + path);
  const int32_t k = FindPath(path);
  if (k == -1) return;
  auto copy = NewFavoriteItem();
  std::memcpy(copy.get(), &item, sizeof item);
  if (path.empty()) {
    InsertEntry(0, std::move(copy));
  } else if (k + 1 < Count()) {
    InsertEntry(k + 1, std::move(copy));
  } else {
    AppendEntry(std::move(copy));
  }
}

// The entry is replaced, not overwritten: the engine may still hold the old
// one in a folder's contents, and that must keep what it read.
void TFavoritesBase::ChangeFavorite(const std::string& path, FavoriteItem& item) {
  if (!item.isUrl) return;
  const int32_t k = FindFavorite(path, std::string(item.NameText()));
  if (k == -1) return;
  auto copy = NewFavoriteItem();
  std::memcpy(copy.get(), &item, sizeof item);
  entries_[static_cast<std::size_t>(k)] = copy.get();
  owned_.push_back(std::move(copy));
  ListChanged();
}

void TFavoritesBase::ChangeFolder(const std::string& path, FavoriteItem& item) {
  if (item.isUrl) return;
  const int32_t k = FindPath(path + "\\" + std::string(item.URLText()));
  if (k == -1) return;
  std::memcpy(entries_[static_cast<std::size_t>(k)]->Name, item.Name, sizeof item.Name);
  ListChanged();
}

FavoriteItem* TFavoritesBase::AppendEntry(std::unique_ptr<FavoriteItem> item) {
  FavoriteItem* raw = item.get();
  owned_.push_back(std::move(item));
  entries_.push_back(raw);
  ListChanged();
  return raw;
}

FavoriteItem* TFavoritesBase::InsertEntry(int index, std::unique_ptr<FavoriteItem> item) {
  FavoriteItem* raw = item.get();
  owned_.push_back(std::move(item));
  entries_.insert(entries_.begin() + index, raw);
  ListChanged();
  return raw;
}

void TFavoritesBase::RemoveEntry(int index) {
  entries_.erase(entries_.begin() + index);
  ListChanged();
}

void TFavoritesBase::ClearEntries() {
  entries_.clear();
  ListChanged();
}

}  // namespace kestro
