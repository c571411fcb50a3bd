#include "engine/state_file.h"

#include <cstring>

#include "base/exception.h"
#include "base/text.h"
#include "favorites/kestro_error.h"
#include "platform/file_system.h"
#include "platform/process_paths.h"

namespace kestro {

std::string StateFileName(int32_t browser_type) {
  if (browser_type == 0) return "KestroIE.ksd";
  if (browser_type == 1) return "KestroNS.ksd";
  throw Exception(Format("No state file for browser type %d", browser_type));
}

std::string StateFilePath(int32_t browser_type) {
  return platform::HostProgramFolder() + StateFileName(browser_type);
}

std::string ItemImages(const std::vector<FavoriteItem*>& items) {
  std::string bytes;
  bytes.resize(items.size() * sizeof(FavoriteItem));
  char* out = bytes.data();
  for (const FavoriteItem* item : items) {
    std::memcpy(out, item, sizeof(FavoriteItem));
    out += sizeof(FavoriteItem);
  }
  return bytes;
}

FavoriteItemList ItemsFromImages(const std::string& bytes) {
  if (bytes.size() % sizeof(FavoriteItem) != 0) throw Exception("Read beyond end of file");
  FavoriteItemList items;
  items.reserve(bytes.size() / sizeof(FavoriteItem));
  for (std::size_t at = 0; at < bytes.size(); at += sizeof(FavoriteItem)) {
    items.push_back(FavoriteItemFromImage(bytes.data() + at));
  }
  return items;
}

void SaveList(const TFavoritesBase& store, int32_t browser_type) {
  try {
    std::string path = StateFilePath(browser_type);
    if (!platform::WriteFileAtomically(path, ItemImages(store.Entries()))) {
      throw Exception(Format("Cannot create file \"%s\"", path.c_str()));
    }
  } catch (const std::exception& e) {
    RaiseError(MessageOf(e), "3009");
  }
}

void LoadList(FavoriteItemList& reglist, int32_t browser_type) {
  try {
    reglist.clear();
    std::string path = StateFilePath(browser_type);
    if (!platform::PathExists(path)) return;
    std::string bytes;
    if (!platform::ReadWholeFile(path, bytes)) throw Exception(Format("Cannot open file \"%s\"", path.c_str()));
    reglist = ItemsFromImages(bytes);
  } catch (const std::exception& e) {
    RaiseError(MessageOf(e), "3010");
  }
}

bool StateMatchesStore(const FavoriteItemList& reglist, const TFavoritesBase& store) {
  const std::vector<FavoriteItem*>& entries = store.Entries();
  if (reglist.size() != entries.size()) return false;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (std::memcmp(reglist[i].get(), entries[i], sizeof(FavoriteItem)) != 0) return false;
  }
  return true;
}

StateIndex::StateIndex(const FavoriteItemList& reglist) {
  keys_.reserve(reglist.size());
  for (const auto& item : reglist) keys_.insert(Key(*item));
}

std::string StateIndex::Key(const FavoriteItem& item) {
  std::string key = AsciiUpper(item.NameText());
  key.push_back('\0');
  key.append(std::to_string(item.isUrl));
  key.push_back('\0');
  key.append(std::to_string(item.Level));
  return key;
}

bool StateIndex::URLExistInFile(const FavoriteItem& item) const {
  try {
    return keys_.count(Key(item)) != 0;
  } catch (const std::exception& e) {
    RaiseError(MessageOf(e), "3011");
  }
}

}  // namespace kestro
