#include "engine/restore_merge.h"

#include <cstddef>
#include <string>
#include <cstring>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace kestro {
namespace {

constexpr int kMaxDepth = 256;  // deeper Parent chains are broken ones

bool HasEditMark(const FavoriteItem& item) { return item.isNew || item.isModified || item.isDeleted; }

std::unique_ptr<FavoriteItem> Copy(const FavoriteItem& item) {
  auto copy = NewFavoriteItem();
  *copy = item;
  return copy;
}

std::string Key(const std::string& folder_path, const FavoriteItem& item) {
  std::string key = folder_path;
  key += '\n';
  key += item.NameText();
  key += '\n';
  key += item.URLText();
  key += '\n';
  key += static_cast<char>(item.StatusAllFlags());
  return key;
}

class Merger {
 public:
  Merger(const FavoriteItemList& saved, const FavoriteItemList& current) {
    for (const auto& item : saved) out_.records.push_back(Copy(*item));
    for (const auto& item : current) current_by_id_.emplace(item->RecID, item.get());
  }

  void Take(const FavoriteItem& later) {
    if (int at = IndexOfId(later.RecID); at >= 0) {
      Replace(at, later);
      return;
    }
    const std::string key = Key(CurrentFolderPath(later, 0), later);
    const std::vector<std::string> paths = FolderPaths();
    for (std::size_t i = 0; i < out_.records.size(); ++i) {
      if (!claimed_.count(static_cast<int>(i)) && Key(paths[i], *out_.records[i]) == key) {
        claimed_.insert(static_cast<int>(i));
        placed_[later.RecID] = out_.records[i]->RecID;
        return;
      }
    }
    if (int at = EditedSavedRecord(later, paths); at >= 0) {
      Replace(at, later);
      return;
    }
    Graft(later, PlaceFolder(later.Parent, 0));
    ++out_.later_work;
  }

  MergedRestore Result() { return std::move(out_); }

 private:
  // The saved record at `at` takes the later record's fields and marks.
  void Replace(int at, const FavoriteItem& later) {
    FavoriteItem& there = *out_.records[static_cast<std::size_t>(at)];
    if (there.StatusAllFlags() != later.StatusAllFlags() || there.NameText() != later.NameText() ||
        there.URLText() != later.URLText()) {
      std::memcpy(there.Name, later.Name, sizeof there.Name);
      std::memcpy(there.URL, later.URL, sizeof there.URL);
      there.SetFlagsFromStatus(later.StatusAllFlags());
      out_.differs = true;
      ++out_.later_work;
    }
    claimed_.insert(at);
  }

  // A record changed or deleted on the handheld after the failed run wrote
  // it again under a new ID: the unclaimed saved record of its kind, folder
  // and name (a renamed folder: its former name); -1 when none.
  int EditedSavedRecord(const FavoriteItem& later, const std::vector<std::string>& paths) {
    if (later.isNew) return -1;
    const std::string folder = CurrentFolderPath(later, 0);
    const std::string_view former = !later.isUrl && later.isModified && !later.URLText().empty() ? later.URLText()
                                                                                                   : later.NameText();
    for (std::size_t i = 0; i < out_.records.size(); ++i) {
      const FavoriteItem& there = *out_.records[i];
      if (!claimed_.count(static_cast<int>(i)) && there.isUrl == later.isUrl && paths[i] == folder &&
          there.NameText() == former) {
        return static_cast<int>(i);
      }
    }
    return -1;
  }

  int IndexOfId(int32_t id) {
    if (index_of_id_.empty()) {
      for (std::size_t i = out_.records.size(); i-- > 0;) index_of_id_[out_.records[i]->RecID] = static_cast<int>(i);
    }
    auto found = index_of_id_.find(id);
    return found == index_of_id_.end() ? -1 : found->second;
  }

  // The folder names above each record of the list, joined by '\n'.
  std::vector<std::string> FolderPaths() const {
    std::vector<std::string> paths;
    std::vector<std::pair<int32_t, std::string>> open;  // Level, path inside
    for (const auto& item : out_.records) {
      while (!open.empty() && open.back().first >= item->Level) open.pop_back();
      paths.push_back(open.empty() ? std::string() : open.back().second);
      if (!item->isUrl) open.emplace_back(item->Level, paths.back() + "\\" + std::string(item->NameText()));
    }
    return paths;
  }

  std::string CurrentFolderPath(const FavoriteItem& item, int depth) const {
    auto folder = current_by_id_.find(item.Parent);
    if (item.Parent == 0 || folder == current_by_id_.end() || depth > kMaxDepth) return std::string();
    return CurrentFolderPath(*folder->second, depth + 1) + "\\" + std::string(folder->second->NameText());
  }

  // The list index of the folder that the handheld's folder `id` becomes;
  // -1 for the top.
  int PlaceFolder(int32_t id, int depth) {
    auto found = current_by_id_.find(id);
    if (id == 0 || found == current_by_id_.end() || found->second->isUrl || depth > kMaxDepth) return -1;
    if (auto p = placed_.find(id); p != placed_.end()) return IndexOfId(p->second);
    if (int at = IndexOfId(id); at >= 0) return at;
    const FavoriteItem& folder = *found->second;
    const std::string path = CurrentFolderPath(folder, 0) + "\\" + std::string(folder.NameText());
    const std::vector<std::string> paths = FolderPaths();
    for (std::size_t i = 0; i < out_.records.size(); ++i) {
      const FavoriteItem& there = *out_.records[i];
      if (!there.isUrl && paths[i] + "\\" + std::string(there.NameText()) == path) {
        placed_[id] = there.RecID;
        return static_cast<int>(i);
      }
    }
    return Graft(folder, PlaceFolder(folder.Parent, depth + 1));
  }

  // Puts a copy of item at the end of the folder at list index `folder`
  // (-1: the top); its index.
  int Graft(const FavoriteItem& item, int folder) {
    auto copy = Copy(item);
    std::size_t at = out_.records.size();
    if (folder >= 0) {
      const FavoriteItem& f = *out_.records[static_cast<std::size_t>(folder)];
      copy->Level = f.Level + 1;
      copy->Parent = f.RecID;
      at = static_cast<std::size_t>(folder) + 1;
      while (at < out_.records.size() && out_.records[at]->Level > f.Level) ++at;
    } else {
      copy->Level = 0;
      copy->Parent = 0;
    }
    out_.records.insert(out_.records.begin() + static_cast<std::ptrdiff_t>(at), std::move(copy));
    index_of_id_.clear();
    std::unordered_set<int> shifted;
    for (int c : claimed_) shifted.insert(c >= static_cast<int>(at) ? c + 1 : c);
    claimed_ = std::move(shifted);
    claimed_.insert(static_cast<int>(at));
    placed_[item.RecID] = item.RecID;
    out_.differs = true;
    return static_cast<int>(at);
  }

  MergedRestore out_;
  std::unordered_map<int32_t, const FavoriteItem*> current_by_id_;
  std::unordered_map<int32_t, int32_t> placed_;  // handheld ID -> RecID in the list
  std::unordered_set<int> claimed_;              // list indexes that a handheld record already is
  std::unordered_map<int32_t, int> index_of_id_;  // made on first use, dropped when the list grows
};

}  // namespace

MergedRestore MergeLaterWork(const FavoriteItemList& saved, const FavoriteItemList& current) {
  Merger merger(saved, current);
  for (const auto& item : current) {
    if (HasEditMark(*item)) merger.Take(*item);
  }
  return merger.Result();
}

}  // namespace kestro
