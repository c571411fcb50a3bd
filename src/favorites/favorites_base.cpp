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

FavoriteItem* TFavoritesBase::EntryAt(int32_t index) const {
  return index < 0 ? nullptr : entries_[static_cast<std::size_t>(index)];
}

int32_t TFavoritesBase::IndexOf(const FavoriteItem* entry) const {
  if (!entry) return -1;
  // After an edit the index is stale, yet a position it knew or was told
  // still holds while the list holds the entry at that place: no entry is in
  // the list twice. So a run of edits, each looking up its folder, does not
  // rebuild the whole index for every edit.
  if (!index_valid_) {
    const int32_t known = index_.IndexOf(entry);
    if (known >= 0 && known < Count() && entries_[static_cast<std::size_t>(known)] == entry) return known;
  }
  return Index().IndexOf(entry);
}

FavoriteItemView TFavoritesBase::GetFolderItems(const std::string& path, int32_t parent) {
  if (path.empty()) return GetFolderItems(nullptr, parent);
  FavoriteItem* folder = EntryAt(FindPath(path));
  if (!folder) return {};
  return GetFolderItems(folder, parent);
}

FavoriteItemView TFavoritesBase::GetFolderItems(const FavoriteItem* folder, int32_t parent) {
  FavoriteItemView items = FolderContents(folder);
  for (FavoriteItem* entry : items) entry->Parent = parent;
  return items;
}

FavoriteItemView TFavoritesBase::FolderContents(const FavoriteItem* folder) const {
  FavoriteItemView items;
  if (entries_.empty()) return items;
  int32_t level = entries_[0]->Level;
  int32_t i = 0;
  if (folder) {
    const int32_t k = IndexOf(folder);
    if (k == -1 || folder->isUrl) return items;
    level = folder->Level + 1;
    i = k + 1;
  }
  // Entries deeper than the children's level lie in some subtree: jump over
  // the whole subtree instead of stepping through it.
  const FolderIndex& index = Index();
  while (i < Count()) {
    FavoriteItem* entry = entries_[static_cast<std::size_t>(i)];
    if (entry->Level < level) break;
    if (entry->Level == level) items.push_back(entry);
    i = index.SubtreeEnd(i);
  }
  return items;
}

void TFavoritesBase::DeleteFolder(const std::string& path) {
  if (path.empty()) return;  // the top level is not a folder that can go
  DeleteFolder(path, EntryAt(FindPath(path)));
}

// The favourite's own entry goes. A lookup among folders only would never
// find a favourite, and would remove a folder that happens to share the path.
void TFavoritesBase::DeleteFavorite(const std::string& path) {
  const std::size_t cut = path.rfind('\\');
  if (cut == std::string::npos) return;
  DeleteFavorite(path, EntryAt(FindFavorite(path.substr(0, cut), path.substr(cut + 1))));
}

void TFavoritesBase::AddFavorite(const std::string& path, FavoriteItem item) {
  // The folders that exist are found inside their parents; the rest are
  // made, each inside the one before.
  FavoriteItem* folder = nullptr;
  std::string sub_path;
  for (const std::string& component : SplitFolderPath(path)) {
    sub_path += "\\" + component;
    FavoriteItem* found = EntryAt(FindPath(sub_path));
    if (!found) found = AddFolder(sub_path, folder, component);
    if (!found) return;
    folder = found;
  }
  AddFavorite(path, folder, item);
}

void TFavoritesBase::ChangeFavorite(const std::string& path, FavoriteItem& item) {
  if (!item.isUrl) return;
  FavoriteItem* folder = path.empty() ? nullptr : EntryAt(FindPath(path));
  if (!path.empty() && !folder) return;
  ChangeFavorite(path, folder, EntryAt(FindFavorite(path, std::string(item.NameText()))), item);
}

void TFavoritesBase::ChangeFolder(const std::string& path, FavoriteItem& item) {
  if (item.isUrl) return;
  ChangeFolder(path, EntryAt(FindPath(path + "\\" + std::string(item.URLText()))), item);
}

int32_t TFavoritesBase::FirstChildIndex(const FavoriteItem* folder) const {
  return folder ? IndexOf(folder) + 1 : 0;
}

// A folder goes only when nothing is left inside it: entries inside a folder
// that left the list would seem to be inside the folder before it.
void TFavoritesBase::DeleteFolder(const std::string&, FavoriteItem* folder) {
  const int32_t k = IndexOf(folder);
  if (k == -1 || folder->isUrl) return;
  if (Index().SubtreeEnd(k) != k + 1) return;
  RemoveEntry(k);
}

void TFavoritesBase::DeleteFavorite(const std::string&, FavoriteItem* entry) {
  const int32_t k = IndexOf(entry);
  if (k != -1 && entry->isUrl) RemoveEntry(k);
}

FavoriteItem* TFavoritesBase::AddFavorite(const std::string& path, FavoriteItem* folder,
                                          const FavoriteItem& item) {
  WriteLog("TFavoritesBase.AddFavorite. Pathname:" + path);
  if (folder && IndexOf(folder) == -1) return nullptr;
  auto copy = FavoriteItemFromImage(reinterpret_cast<const char*>(&item));
  return InsertEntry(FirstChildIndex(folder), std::move(copy));
}

FavoriteItem* TFavoritesBase::AddFolder(const std::string&, FavoriteItem* folder,
                                        std::string_view name) {
  if (folder && IndexOf(folder) == -1) return nullptr;
  auto entry = NewFavoriteItem();
  entry->SetName(name);
  entry->Level = folder ? folder->Level + 1 : 0;
  entry->isVisible = 1;
  return InsertEntry(FirstChildIndex(folder), std::move(entry));
}

// The entry is replaced, not overwritten: the engine may still hold the old
// one in a folder's contents, and that must keep what it read.
void TFavoritesBase::ChangeFavorite(const std::string&, FavoriteItem*, FavoriteItem* entry,
                                    FavoriteItem& item) {
  const int32_t k = IndexOf(entry);
  if (!item.isUrl || k == -1 || !entry->isUrl) return;
  auto copy = FavoriteItemFromImage(reinterpret_cast<const char*>(&item));
  entries_[static_cast<std::size_t>(k)] = copy.get();
  owned_.push_back(std::move(copy));
  Edited();
}

bool TFavoritesBase::ChangeFolder(const std::string&, FavoriteItem* entry, FavoriteItem& item) {
  if (item.isUrl || IndexOf(entry) == -1 || entry->isUrl) return false;
  std::memcpy(entry->Name, item.Name, sizeof item.Name);
  Edited();
  return true;
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
  Edited();
  index_.NotePosition(raw, index);
  return raw;
}

void TFavoritesBase::RemoveEntry(int index) {
  entries_.erase(entries_.begin() + index);
  Edited();
}

void TFavoritesBase::ClearEntries() {
  entries_.clear();
  ListChanged();
}

}  // namespace kestro
