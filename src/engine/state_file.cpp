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

namespace {

// Records held at a time while the state file is looked through.
constexpr std::size_t kScanBlockRecords = 64;

std::string LoadListImages(int32_t browser_type) {
  std::string bytes;
  try {
    std::string path = StateFilePath(browser_type);
    if (!platform::PathExists(path)) return bytes;
    if (!platform::ReadWholeFile(path, bytes)) throw Exception(Format("Cannot open file \"%s\"", path.c_str()));
    if (bytes.size() % sizeof(FavoriteItem) != 0) throw Exception("Read beyond end of file");
  } catch (const std::exception& e) {
    RaiseError(MessageOf(e), "3010");
  }
  return bytes;
}

}  // namespace

void LoadList(FavoriteItemList& reglist, int32_t browser_type) {
  reglist.clear();
  std::string bytes = LoadListImages(browser_type);
  try {
    reglist = ItemsFromImages(bytes);
  } catch (const std::exception& e) {
    RaiseError(MessageOf(e), "3010");
  }
}

StateScan ScanStateFile(int32_t browser_type, const TFavoritesBase& store) {
  StateScan scan;
  const std::vector<FavoriteItem*>& entries = store.Entries();
  try {
    const std::string path = StateFilePath(browser_type);
    if (!platform::PathExists(path)) {
      scan.matches_store = entries.empty();
      return scan;
    }
    std::size_t at_entry = 0;
    bool whole_records = true;
    scan.matches_store = true;
    FavoriteItem item;
    const bool read = platform::ReadFileInBlocks(
        path, kScanBlockRecords * sizeof(FavoriteItem), [&](std::string_view piece) {
          whole_records = whole_records && piece.size() % sizeof(FavoriteItem) == 0;
          for (std::size_t at = 0; at + sizeof(FavoriteItem) <= piece.size(); at += sizeof(FavoriteItem)) {
            std::memcpy(&item, piece.data() + at, sizeof(FavoriteItem));
            scan.matches_store = scan.matches_store && at_entry < entries.size() &&
                                 std::memcmp(&item, entries[at_entry], sizeof(FavoriteItem)) == 0;
            ++at_entry;
            scan.index.Add(item);
          }
        });
    if (!read) throw Exception(Format("Cannot open file \"%s\"", path.c_str()));
    if (!whole_records) throw Exception("Read beyond end of file");
    scan.matches_store = scan.matches_store && at_entry == entries.size();
  } catch (const std::exception& e) {
    RaiseError(MessageOf(e), "3010");
  }
  return scan;
}

StateIndex::StateIndex(const FavoriteItemList& reglist) {
  keys_.reserve(reglist.size());
  for (const auto& item : reglist) Add(*item);
}

void StateIndex::Add(const FavoriteItem& item) {
  keys_.insert(Key(item));
  if (item.isUrl) favorites_.insert(AddressKey(item.Level, item));
}

bool StateIndex::HoldsFavorite(int32_t level, const FavoriteItem& item) const {
  return item.isUrl && favorites_.count(AddressKey(level, item)) != 0;
}

std::string StateIndex::AddressKey(int32_t level, const FavoriteItem& item) {
  std::string key = AsciiUpper(item.NameText());
  key.push_back('\0');
  key.append(item.URLText());
  key.push_back('\0');
  key.append(std::to_string(level));
  return key;
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
