// Names and addresses for generated favourites: repeated and same-named
// siblings, names holding separators, markup, quotes, line breaks or UTF-8,
// empty ones and titles of 250-300 characters; and what a user of each
// desktop store could have typed there, so that the desktop is only ever
// given what its browser could hold.
#pragma once

#include <string>
#include <vector>

#include "property/prng.h"

namespace kestro::property {

enum class Store { kFavoritesFolder = 0, kBookmarkFile = 1 };
const char* StoreName(Store store);

// Any name a handheld record can hold; `siblings` are the names beside it.
std::string NewName(Prng& rng, const std::vector<std::string>& siblings);
std::string NewUrl(Prng& rng);

// A favourites folder: a Windows file name (with ".url" for a favourite); a
// bookmark file: a title as a browser writes it, markup escaped, one line.
bool DesktopCanHoldName(Store store, const std::string& name);
bool DesktopCanHoldUrl(Store store, const std::string& url);

}  // namespace kestro::property
