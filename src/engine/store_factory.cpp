#include "engine/store_factory.h"

#include "favorites/favorites_ie.h"
#include "favorites/favorites_ns.h"
#include "settings/settings_registry.h"

namespace kestro {

std::unique_ptr<TFavoritesBase> MakeFavoritesStore(int32_t browser_type, const std::string& location) {
  if (browser_type == kBrowserIE) return std::make_unique<TFavoritesIE>(location);
  if (browser_type == kBrowserNetscape) return std::make_unique<TFavoritesNS>(location);
  return nullptr;
}

}  // namespace kestro
