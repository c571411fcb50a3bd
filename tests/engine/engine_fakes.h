// Test doubles for the reconciliation: a handheld that keeps written records
// in memory, and a desktop store that keeps its list in memory and records
// every change asked of it. Plus the tree check every run must pass.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/record_writer.h"
#include "favorites/favorites_base.h"

namespace kestro::testing {

struct Record {
  int32_t id;
  std::string name;
  int32_t parent;
  int32_t level;
  uint8_t status;
  std::string url;
};

class MemoryHandheld : public HandheldRecordWriter {
 public:
  int32_t WriteNewRecord(const FavoriteItem& item, int32_t parent, uint8_t status) override {
    records.push_back({next_id, std::string(item.NameText()), parent, item.Level, status,
                       std::string(item.URLText())});
    return next_id++;
  }
  // "name@level:status" per record, in order.
  std::vector<std::string> Summary() const;
  std::vector<Record> records;
  int32_t next_id = 1001;
};

class MemoryStore : public TFavoritesBase {
 public:
  MemoryStore& Folder(int32_t level, const std::string& name);
  MemoryStore& Favorite(int32_t level, const std::string& name, const std::string& url);

  void DeleteFolder(const std::string& path, FavoriteItem* folder) override;
  void DeleteFavorite(const std::string& path, FavoriteItem* entry) override;
  FavoriteItem* AddFavorite(const std::string& path, FavoriteItem* folder,
                            const FavoriteItem& item) override;
  void ChangeFavorite(const std::string& path, FavoriteItem* folder, FavoriteItem* entry,
                      FavoriteItem& item) override;
  bool ChangeFolder(const std::string& path, FavoriteItem* entry, FavoriteItem& item) override;

  // "name@level" per entry, in order.
  std::vector<std::string> Summary() const;
  std::vector<std::string> calls;  // "Add \path|name", "Change ...", ...
};

// A handheld item as loaded: Status flags as on the handheld.
std::unique_ptr<FavoriteItem> Loaded(int32_t id, int32_t level, const std::string& name,
                                     uint8_t status, const std::string& url = "");
// A state-file entry.
std::unique_ptr<FavoriteItem> Known(int32_t level, const std::string& name, bool is_url);

// Empty when the records form a depth-first tree whose Parents name the
// folder records; else what is wrong.
std::string TreeProblem(const std::vector<Record>& records);

}  // namespace kestro::testing
