// An independent reader of the bookmark-file format, to check what the store
// loads and writes. It scans the whole text for tags (any case, quoted
// attribute values) instead of working line by line, and nests entries by the
// <DL> lists. Titles and addresses stay as written (no entity decoding).
#pragma once

#include <string>
#include <string_view>

#include "favorites/favorites_base.h"

namespace kestro::testing {

// One line per entry, two spaces of indentation per depth:
// "F <title>" for a folder, "L <title> <href>" for a link.
std::string ReadBookmarkTree(std::string_view html);
// The same rendering of a store's list, by each entry's Level.
std::string StoreTree(const TFavoritesBase& store);

}  // namespace kestro::testing
