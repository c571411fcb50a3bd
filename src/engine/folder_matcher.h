// The desktop side of one folder pass: the folder's direct contents, in the
// store's order, from which each handheld item takes its counterpart by name
// (letters A-Z folded). Indexed by name, so a pass over n items costs O(n)
// rather than O(n^2), with the same first-in-order answers as a scan.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/state_file.h"
#include "favorites/favorite_item.h"

namespace kestro {

class FolderMatcher {
 public:
  // repeated_names: the store holds several favourites of one name in a
  // folder (a bookmark file), rather than one file per name.
  explicit FolderMatcher(FavoriteItemView items, bool repeated_names = false);

  // The first remaining item of the handheld item's name and kind (a folder
  // never pairs with a favourite: neither could take the other's place), and
  // among several of one name the first with its address, and of those the
  // first spelt exactly as the item, so that repeated names pair up by
  // content rather than by order; -1 when none remains. A favourite deleted
  // on the handheld pairs with one of another address only when the folder
  // holds no other of its name, so that a deletion never lands on a favourite
  // the handheld kept.
  //
  // Where the store holds repeated names, an entry of another address may be
  // a favourite the desktop added since the last run, which a handheld edit
  // must not overwrite nor a handheld deletion remove:
  // - a new or deleted handheld favourite pairs only with one of its
  //   address that no later favourite is kept for;
  // - a changed one that finds none of its address takes only one the last
  //   run knew (see KnownBy).
  int Match(const FavoriteItem& item);
  // What the last run knew of this folder's favourites, at its level.
  // Without it every entry counts as known.
  void KnownBy(const StateIndex* state, int32_t level) {
    known_ = state;
    level_ = level;
  }
  // Announces a handheld favourite the pass will match later: an entry of
  // its very name and address is kept for it, so that a favourite matched
  // before it by name alone (its address or its name changed) takes another
  // entry or none, and the one it keeps is not changed or lost.
  void Expect(const FavoriteItem& item);
  // Every remaining folder of that name, in order.
  std::vector<int> Folders(std::string_view name) const;

  FavoriteItem* Item(int index) const { return items_[static_cast<std::size_t>(index)]; }
  void Remove(int index) { removed_[static_cast<std::size_t>(index)] = true; }
  // What has not been matched, in order.
  FavoriteItemView Remaining() const;

 private:
  struct Bucket {
    std::size_t next = 0;      // entries before it are all removed
    std::vector<int> indices;  // increasing
  };
  static std::string Key(std::string_view name, bool is_url);
  static std::string ExactKey(const FavoriteItem& item);
  // Whether every remaining entry of the item's name and address is kept
  // for a favourite still to come.
  bool Kept(const Bucket& bucket, int index) const;
  // Of another address than url: any (kAny), or none at all, nor one of url
  // kept for a later favourite (kNever).
  enum class OtherAddress { kAny, kNever };
  int Find(std::string_view name, bool is_url, const std::string_view* url,
           OtherAddress other = OtherAddress::kAny, bool known_only = false);

  FavoriteItemView items_;
  bool repeated_names_;
  std::vector<bool> removed_;
  std::unordered_map<std::string, Bucket> buckets_;
  // By name and address: the announced favourites not matched yet.
  std::unordered_map<std::string, int> expected_;
  const StateIndex* known_ = nullptr;
  int32_t level_ = 0;
};

}  // namespace kestro
