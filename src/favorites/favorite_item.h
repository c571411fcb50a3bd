// One favourite or folder as the fixed 1300-byte record that the handheld item
// list, the desktop stores and the state file all hold. Its bytes are the
// state file's record format, so the layout is fixed and asserted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kestro {

#pragma pack(push, 1)
struct FavoriteItem {
  int32_t RecID;
  char Name[256];  // NUL-padded; a 256-character title has no terminator
  int32_t Parent;
  int32_t Level;
  uint8_t isUrl;
  uint8_t isClosed;
  uint8_t isVisible;
  uint8_t isNew;
  uint8_t isDeleted;
  uint8_t isModified;
  char URL[1024];  // NUL-padded; a 1024-character address has no terminator
  uint8_t padding[2];

  // The texts before the first NUL of each field.
  std::string_view NameText() const;
  std::string_view URLText() const;
  // Cut to the field when longer.
  void SetName(std::string_view name);
  void SetURL(std::string_view url);

  // The Status byte: bit 0 isUrl .. bit 5 isModified.
  uint8_t StatusAllFlags() const;
  void SetFlagsFromStatus(uint8_t status);
};
#pragma pack(pop)

static_assert(sizeof(FavoriteItem) == 1300);
static_assert(offsetof(FavoriteItem, RecID) == 0);
static_assert(offsetof(FavoriteItem, Name) == 4);
static_assert(offsetof(FavoriteItem, Parent) == 260);
static_assert(offsetof(FavoriteItem, Level) == 264);
static_assert(offsetof(FavoriteItem, isUrl) == 268);
static_assert(offsetof(FavoriteItem, isClosed) == 269);
static_assert(offsetof(FavoriteItem, isVisible) == 270);
static_assert(offsetof(FavoriteItem, isNew) == 271);
static_assert(offsetof(FavoriteItem, isDeleted) == 272);
static_assert(offsetof(FavoriteItem, isModified) == 273);
static_assert(offsetof(FavoriteItem, URL) == 274);
static_assert(offsetof(FavoriteItem, padding) == 1298);

// An all-zero item.
std::unique_ptr<FavoriteItem> NewFavoriteItem();
// An item whose 1300 bytes are copied from image.
std::unique_ptr<FavoriteItem> FavoriteItemFromImage(const char* image);

// An ordered list of items in depth-first order. Lists that own their items
// (the handheld list, the state list) hold unique_ptrs; views of a store's
// items (a folder's contents) hold plain pointers.
using FavoriteItemList = std::vector<std::unique_ptr<FavoriteItem>>;
using FavoriteItemView = std::vector<FavoriteItem*>;

// A list of copies of the items, byte for byte.
FavoriteItemList CopyItems(const FavoriteItemList& items);

}  // namespace kestro
