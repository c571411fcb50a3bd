#include "engine/store_factory.h"

#include "favorites/favorites_ie.h"
#if __has_include("favorites/favorites_ns.h")
#include "favorites/favorites_ns.h"
#define KESTRO_ENGINE_HAS_NS 1
#endif
#include "settings/settings_registry.h"

namespace kestro {

std::unique_ptr<TFavoritesBase> MakeFavoritesStore(int32_t browser_type, const std::string& location) {
  if (browser_type == kBrowserIE) return std::make_unique<TFavoritesIE>(location);
#ifdef KESTRO_ENGINE_HAS_NS
  if (browser_type == kBrowserNetscape) return std::make_unique<TFavoritesNS>(location);
#endif
  return nullptr;
}

}  // namespace kestro
