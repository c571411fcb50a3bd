#include "engine/engine_fakes.h"

namespace kestro::testing {

std::vector<std::string> MemoryHandheld::Summary() const {
  std::vector<std::string> out;
  for (const Record& r : records)
    out.push_back(r.name + "@" + std::to_string(r.level) + ":" + std::to_string(r.status));
  return out;
}

MemoryStore& MemoryStore::Folder(int32_t level, const std::string& name) {
  auto item = NewFavoriteItem();
  item->SetName(name);
  item->Level = level;
  item->isVisible = 1;
  AppendEntry(std::move(item));
  return *this;
}

MemoryStore& MemoryStore::Favorite(int32_t level, const std::string& name, const std::string& url) {
  auto item = NewFavoriteItem();
  item->SetName(name);
  item->SetURL(url);
  item->Level = level;
  item->isUrl = 1;
  item->isVisible = 1;
  AppendEntry(std::move(item));
  return *this;
}

void MemoryStore::DeleteFolder(const std::string& path, FavoriteItem* folder) {
  calls.push_back("DeleteFolder " + path);
  TFavoritesBase::DeleteFolder(path, folder);
}
void MemoryStore::DeleteFavorite(const std::string& path, FavoriteItem* entry) {
  calls.push_back("DeleteFavorite " + path);
  TFavoritesBase::DeleteFavorite(path, entry);
}
FavoriteItem* MemoryStore::AddFavorite(const std::string& path, FavoriteItem* folder,
                                       const FavoriteItem& item) {
  calls.push_back("AddFavorite " + path + "|" + std::string(item.NameText()));
  return TFavoritesBase::AddFavorite(path, folder, item);
}
void MemoryStore::ChangeFavorite(const std::string& path, FavoriteItem* folder, FavoriteItem* entry,
                                 FavoriteItem& item) {
  calls.push_back("ChangeFavorite " + path + "|" + std::string(item.NameText()));
  TFavoritesBase::ChangeFavorite(path, folder, entry, item);
}
bool MemoryStore::ChangeFolder(const std::string& path, FavoriteItem* entry, FavoriteItem& item) {
  calls.push_back("ChangeFolder " + path + "|" + std::string(item.URLText()) + ">" +
                  std::string(item.NameText()));
  return TFavoritesBase::ChangeFolder(path, entry, item);
}

std::vector<std::string> MemoryStore::Summary() const {
  std::vector<std::string> out;
  for (const FavoriteItem* item : Entries())
    out.push_back(std::string(item->NameText()) + "@" + std::to_string(item->Level));
  return out;
}

std::unique_ptr<FavoriteItem> Loaded(int32_t id, int32_t level, const std::string& name,
                                     uint8_t status, const std::string& url) {
  auto item = NewFavoriteItem();
  item->RecID = id;
  item->Level = level;
  item->SetName(name);
  item->SetURL(url);
  item->SetFlagsFromStatus(status);
  return item;
}

std::unique_ptr<FavoriteItem> Known(int32_t level, const std::string& name, bool is_url) {
  auto item = NewFavoriteItem();
  item->Level = level;
  item->SetName(name);
  item->isUrl = is_url ? 1 : 0;
  return item;
}

std::string TreeProblem(const std::vector<Record>& records) {
  std::vector<int32_t> folders;  // IDs of the folders enclosing the next record
  for (const Record& r : records) {
    if (r.level < 0 || static_cast<std::size_t>(r.level) > folders.size()) {
      return r.name + ": Level " + std::to_string(r.level) + " has no folder around it";
    }
    folders.resize(static_cast<std::size_t>(r.level));
    int32_t expected = r.level == 0 ? 0 : folders.back();
    if (r.parent != expected) {
      return r.name + ": Parent " + std::to_string(r.parent) + ", its folder is " +
             std::to_string(expected);
    }
    if ((r.status & 1) == 0) folders.push_back(r.id);
  }
  return {};
}

}  // namespace kestro::testing
