// Builds store contents for tests: a store whose list is filled by hand, and
// items written in one line each.
#pragma once

#include <string>

#include "favorites/favorites_base.h"

namespace kestro::testing {

inline FavoriteItem Item(const std::string& name, int level, bool is_url,
                         const std::string& url = "") {
  FavoriteItem item = *NewFavoriteItem();
  item.SetName(name);
  item.Level = level;
  item.isUrl = is_url ? 1 : 0;
  item.isVisible = 1;
  item.SetURL(url);
  return item;
}

class ListStore : public TFavoritesBase {
 public:
  ListStore& Folder(const std::string& name, int level) { return Add(Item(name, level, false)); }
  ListStore& Link(const std::string& name, int level) {
    return Add(Item(name, level, true, "http://" + name));
  }
  std::string Names() const {
    std::string out;
    for (int i = 0; i < Count(); ++i) out += (i ? "," : "") + std::string(Items(i)->NameText());
    return out;
  }

 private:
  ListStore& Add(const FavoriteItem& item) {
    auto copy = NewFavoriteItem();
    *copy = item;
    AppendEntry(std::move(copy));
    return *this;
  }
};

}  // namespace kestro::testing
