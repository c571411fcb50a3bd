// Builds the desktop store for a browser type: 0 an Internet Explorer
// favourites folder, 1 a Netscape bookmark file, at the given location. Any
// other type has no store (null). The store loads the whole tree at once.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "favorites/favorites_base.h"

namespace kestro {

std::unique_ptr<TFavoritesBase> MakeFavoritesStore(int32_t browser_type, const std::string& location);

}  // namespace kestro
