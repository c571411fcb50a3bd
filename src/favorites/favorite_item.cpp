#include "favorites/favorite_item.h"

#include <cstring>

#include "base/text.h"

namespace kestro {

std::string_view FavoriteItem::NameText() const { return FieldText(Name, sizeof Name); }

std::string_view FavoriteItem::URLText() const { return FieldText(URL, sizeof URL); }

void FavoriteItem::SetName(std::string_view name) { SetFieldText(Name, sizeof Name, name); }

void FavoriteItem::SetURL(std::string_view url) { SetFieldText(URL, sizeof URL, url); }

uint8_t FavoriteItem::StatusAllFlags() const {
  return static_cast<uint8_t>((isUrl ? 0x01 : 0) | (isClosed ? 0x02 : 0) | (isVisible ? 0x04 : 0) |
                              (isNew ? 0x08 : 0) | (isDeleted ? 0x10 : 0) | (isModified ? 0x20 : 0));
}

void FavoriteItem::SetFlagsFromStatus(uint8_t status) {
  isUrl = (status >> 0) & 1;
  isClosed = (status >> 1) & 1;
  isVisible = (status >> 2) & 1;
  isNew = (status >> 3) & 1;
  isDeleted = (status >> 4) & 1;
  isModified = (status >> 5) & 1;
}

// Value-initialised: zeroed once, padding included (the type has no
// constructor, so "()" zero-fills the whole object).
std::unique_ptr<FavoriteItem> NewFavoriteItem() { return std::unique_ptr<FavoriteItem>(new FavoriteItem()); }

std::unique_ptr<FavoriteItem> FavoriteItemFromImage(const char* image) {
  std::unique_ptr<FavoriteItem> item(new FavoriteItem);  // every byte is copied over next
  std::memcpy(item.get(), image, sizeof(FavoriteItem));
  return item;
}

FavoriteItemList CopyItems(const FavoriteItemList& items) {
  FavoriteItemList copy;
  copy.reserve(items.size());
  for (const auto& item : items) copy.push_back(FavoriteItemFromImage(reinterpret_cast<const char*>(item.get())));
  return copy;
}

}  // namespace kestro
