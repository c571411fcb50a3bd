// How the reconciliation finds the desktop folder of a handheld folder where
// sibling folders share a name: by the entries their contents share, the
// whole pass's folders of one name weighed together.
#include <algorithm>
#include <set>
#include <tuple>

#include "base/text.h"
#include "engine/reconciliation.h"

namespace kestro {
namespace {

// A renamed handheld folder keeps its former name in its URL; the desktop
// still knows it by that name.
bool Renamed(const FavoriteItem& h) {
  return !h.isUrl && h.isModified && !h.isNew && !h.URLText().empty();
}

std::string_view LookupName(const FavoriteItem& h) {
  return Renamed(h) ? h.URLText() : h.NameText();
}

std::string Key(const FavoriteItem& item) {
  std::string key = AsciiUpper(item.NameText());
  key.push_back(item.isUrl ? '\1' : '\0');
  return key;
}

}  // namespace

std::size_t Reconciliation::SharedEntries(int position, const FavoriteItem& desktop) const {
  const FavoriteItem& h = *pdb_list_[static_cast<std::size_t>(position)];
  // An entry shared by name counts twice, once more when its address is the
  // same too: an address changed on one side still tells the folders apart.
  std::multiset<std::string> names, wholes;
  const int end = subtree_end_[static_cast<std::size_t>(position)];
  for (int i = position + 1; i < end; ++i) {
    const FavoriteItem& item = *pdb_list_[static_cast<std::size_t>(i)];
    if (item.Level != h.Level + 1) continue;
    names.insert(Key(item));
    wholes.insert(Key(item).append(item.URLText()));
  }
  auto take = [](std::multiset<std::string>& from, const std::string& key) {
    auto it = from.find(key);
    if (it == from.end()) return 0;
    from.erase(it);
    return 1;
  };
  const bool own_empty = names.empty();
  const FavoriteItemView contents = favorites_.FolderContents(&desktop);
  std::size_t score = 0;
  for (const FavoriteItem* entry : contents) {
    score += 2 * take(names, Key(*entry)) + take(wholes, Key(*entry).append(entry->URLText()));
  }
  // Two empty folders are alike too; they pair before folders that share
  // nothing.
  return own_empty && contents.empty() ? 1 : 2 * score;
}

void Reconciliation::PairFolders(int first, int32_t level, const FolderMatcher& fav_list) {
  std::unordered_map<std::string, std::vector<int>> groups;  // by name, in order
  for (int i = first; i < Count() && At(i).Level == level;
       i = subtree_end_[static_cast<std::size_t>(i)]) {
    if (!At(i).isUrl) groups[AsciiUpper(LookupName(At(i)))].push_back(i);
  }
  for (const auto& [name, positions] : groups) {
    const std::vector<int> folders = fav_list.Folders(name);
    const bool repeated = positions.size() > 1 || folders.size() > 1;
    if (folders.empty() || !repeated) continue;
    // Every pair that may be made, best first; among equals, in order.
    std::vector<std::tuple<std::size_t, int, int>> pairs;  // score, position, folder
    for (int position : positions) {
      paired_[position] = -1;
      for (int index : folders)
        pairs.emplace_back(SharedEntries(position, *fav_list.Item(index)), position, index);
    }
    std::stable_sort(pairs.begin(), pairs.end(),
                     [](const auto& a, const auto& b) { return std::get<0>(a) > std::get<0>(b); });
    for (const auto& [score, position, index] : pairs) {
      if (paired_[position] != -1 || kept_for_.count(fav_list.Item(index))) continue;
      paired_[position] = index;
      kept_for_[fav_list.Item(index)] = position;
    }
  }
}

int Reconciliation::MatchFolder(int position, std::string_view name, FolderMatcher& fav_list) {
  const auto paired = paired_.find(position);
  if (paired != paired_.end() && SameTextAscii(name, LookupName(At(position)))) {
    const int index = paired->second;
    const std::vector<int> folders = fav_list.Folders(name);
    return std::find(folders.begin(), folders.end(), index) != folders.end() ? index : -1;
  }
  const std::vector<int> folders = fav_list.Folders(name);
  if (folders.size() == 1 && !kept_for_.count(fav_list.Item(folders[0]))) return folders[0];
  int best = -1;
  std::size_t best_score = 0;
  for (int index : folders) {
    const auto kept = kept_for_.find(fav_list.Item(index));
    if (kept != kept_for_.end() && kept->second != position) continue;
    const std::size_t score = SharedEntries(position, *fav_list.Item(index));
    if (best == -1 || score > best_score) {
      best = index;
      best_score = score;
    }
  }
  return best;
}

void Reconciliation::FreeName(int position, const std::string& path, FolderMatcher& fav_list) {
  const FavoriteItem& h = At(position);
  if (!Renamed(h)) return;
  freeing_.insert(position);
  for (int i = passes_.back().folder_position + 1; i < Count() && At(i).Level == h.Level;
       i = subtree_end_[static_cast<std::size_t>(i)]) {
    const FavoriteItem& sibling = At(i);
    if (i == position || visited_[static_cast<std::size_t>(i)] || !Renamed(sibling) ||
        freeing_.count(i) || handled_early_.count(i) ||
        !SameTextAscii(sibling.URLText(), h.NameText()) ||
        SameTextAscii(sibling.NameText(), h.NameText())) {
      continue;
    }
    FreeName(i, path, fav_list);
    FavoriteItem* d = nullptr;
    int d_index = -1;
    PushEdit(i, path, d, d_index, fav_list);
    // Its desktop folder is taken now: no other item of the pass matches it.
    if (d_index >= 0) fav_list.Remove(d_index);
    handled_early_[i] = d_index;
  }
  freeing_.erase(position);
}

}  // namespace kestro
