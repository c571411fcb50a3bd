// The Netscape bookmark file: any bytes load as a store or fail with the
// store's own error, and every edit a run can make on what loaded does the
// same. The file lives in memory (tmpfs), so a run stays fast.
#include <string>
#include <utility>
#include <vector>

#include "base/exception.h"
#include "favorites/favorites_ns.h"
#include "fuzz_support.h"

namespace {

using kestro::FavoriteItem;

// Each entry with the path of the folder that holds it, as the engine names it.
std::vector<std::pair<std::string, FavoriteItem>> EntriesWithPaths(
    const kestro::TFavoritesNS& store) {
  std::vector<std::pair<std::string, FavoriteItem>> out;
  std::vector<std::string> folders;  // names of the open folders, outermost first
  for (const FavoriteItem* item : store.Entries()) {
    if (item->Level < 0) continue;
    folders.resize(std::min(folders.size(), static_cast<std::size_t>(item->Level)));
    std::string path;
    for (const std::string& f : folders) path += "\\" + f;
    out.emplace_back(path, *item);
    if (!item->isUrl) folders.emplace_back(item->NameText());
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string file = kestro::fuzz::ScratchFile("bookmarks.htm");
  kestro::fuzz::WriteScratch(file, kestro::fuzz::Bytes(data, size));
  try {
    kestro::TFavoritesNS store(file);
    // A few of every kind of edit, on the entries as loaded.
    int budget = 6;
    for (auto& [folder, item] : EntriesWithPaths(store)) {
      if (budget-- == 0) break;
      const std::string self = folder + "\\" + std::string(item.NameText());
      try {
        if (item.isUrl) {
          FavoriteItem changed = item;
          changed.SetURL("http://changed.example/");
          store.ChangeFavorite(folder, changed);
          store.DeleteFavorite(self);
          store.AddFavorite(folder + "\\New", item);
        } else {
          FavoriteItem renamed = item;
          renamed.SetURL(item.NameText());
          renamed.SetName("Renamed");
          store.ChangeFolder(folder, renamed);
          store.DeleteFolder(folder + "\\Renamed");
        }
      } catch (const kestro::Exception&) {
      }
    }
  } catch (const kestro::Exception&) {
  }
  return 0;
}
