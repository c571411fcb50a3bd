// The state file: the desktop favourites as they stood at the end of the last
// run that wrote it, one 1300-byte item image per entry, no header. It lies in
// the host program's folder, one file per browser ("KestroIE.ksd",
// "KestroNS.ksd"). It tells a desktop deletion from a desktop addition.
// Failures raise through RaiseError with the codes 3009 to 3011.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>

#include "favorites/favorite_item.h"
#include "favorites/favorites_base.h"

namespace kestro {

// "KestroIE.ksd" for browser type 0, "KestroNS.ksd" for 1; raises for others.
std::string StateFileName(int32_t browser_type);
std::string StateFilePath(int32_t browser_type);

// Replaces the file, in one step, by the store's entries in order.
void SaveList(const TFavoritesBase& store, int32_t browser_type);
// Empties reglist, then fills it from the file; a missing file leaves it
// empty. A file whose size is not a whole number of records fails.
void LoadList(FavoriteItemList& reglist, int32_t browser_type);
// Answers URLExistInFile: whether the state holds an item of the same Level,
// the same kind and the same Name (letters A-Z folded). Indexed once, so each
// question costs a hash lookup rather than a scan of the list.
class StateIndex {
 public:
  StateIndex() = default;
  explicit StateIndex(const FavoriteItemList& reglist);
  void Add(const FavoriteItem& item);
  bool URLExistInFile(const FavoriteItem& item) const;
  // Whether the state holds a favourite of this name (letters A-Z folded)
  // and this very address at that level: a desktop entry the last run knew,
  // not one the desktop added since.
  bool HoldsFavorite(int32_t level, const FavoriteItem& item) const;

 private:
  static std::string Key(const FavoriteItem& item);
  static std::string AddressKey(int32_t level, const FavoriteItem& item);
  std::unordered_set<std::string> keys_;
  std::unordered_set<std::string> favorites_;  // by name, address and level
};

// What a run needs of the state file, found in one pass through it that
// holds only a few records at a time: the index of its items, and whether
// it holds, byte for byte, the store's entries as they are (then saving the
// store would write the file it already is). A missing file is an empty
// state; a file that is not a whole number of records fails (code 3010).
struct StateScan {
  StateIndex index;
  bool matches_store = false;
};
StateScan ScanStateFile(int32_t browser_type, const TFavoritesBase& store);

// Item images: each item as its 1300 bytes, in order; and back.
std::string ItemImages(const std::vector<FavoriteItem*>& items);
// Raises Exception when the text is not a whole number of records.
FavoriteItemList ItemsFromImages(const std::string& bytes);

}  // namespace kestro
