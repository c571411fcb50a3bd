#include "engine/run_report.h"

#include <algorithm>
#include <cstring>
#include <tuple>
#include <unordered_map>

#include "base/text.h"

namespace kestro {
namespace {

std::string KeyOf(const TreeEntry& e) {
  std::string key = e.folder();
  key += '\x01';
  key += e.title;
  key += e.is_url ? "\x01u" : "\x01" "f";
  return key;
}

bool SameEntry(const TreeEntry& a, const TreeEntry& b) {
  return a.is_url == b.is_url && a.title == b.title && a.url == b.url &&
         (a.folder_path == b.folder_path || a.folder() == b.folder());
}

std::string FavoriteKey(const TreeEntry& e) { return e.title + '\x01' + e.url; }

// Appends a field of a detail line: tabs and line breaks would split it.
// In place, without copies: in a deep tree the folder fields are most of
// the text.
void AppendField(std::string& text, const std::string& field) {
  const std::size_t at = text.size();
  text += field;
  char* const end = text.data() + text.size();
  for (const char split : {'\t', '\r', '\n'}) {
    char* found = text.data() + at;
    while ((found = static_cast<char*>(std::memchr(found, split, static_cast<std::size_t>(end - found))))) {
      *found++ = ' ';
    }
  }
}

template <typename Item>
TreeEntries Entries(const std::vector<Item>& items, bool skip_deleted) {
  TreeEntries entries;
  entries.reserve(items.size());
  std::vector<std::shared_ptr<const std::string>> folders;  // the folder path at each level
  for (const auto& item : items) {
    const std::size_t level = item->Level < 0 ? 0 : static_cast<std::size_t>(item->Level);
    if (folders.size() > level) folders.resize(level);
    std::shared_ptr<const std::string> folder = folders.empty() ? nullptr : folders.back();
    while (folders.size() < level) folders.push_back(folder);  // a level skipped by broken order
    if (!item->isUrl) folders.push_back(SubfolderPath(folder, item->NameText()));
    if (skip_deleted && item->isDeleted) continue;
    entries.push_back({std::move(folder), std::string(item->NameText()),
                       item->isUrl ? std::string(item->URLText()) : std::string(), item->isUrl != 0});
  }
  return entries;
}

}  // namespace

const std::string& TreeEntry::folder() const {
  static const std::string top;
  return folder_path ? *folder_path : top;
}

std::shared_ptr<const std::string> SubfolderPath(const std::shared_ptr<const std::string>& folder,
                                                 std::string_view name) {
  const std::size_t size = folder ? folder->size() : 0;
  std::string path;
  path.reserve(size + 1 + name.size());
  if (folder) path = *folder;
  path += '\\';
  path += name;
  return std::make_shared<const std::string>(std::move(path));
}

TreeEntries EntriesOf(const std::vector<FavoriteItem*>& items, bool skip_deleted) {
  return Entries(items, skip_deleted);
}

TreeEntries EntriesOf(const FavoriteItemList& items, bool skip_deleted) { return Entries(items, skip_deleted); }

void RunReport::AddSide(const std::string& side, const TreeEntries& before, const TreeEntries& after) {
  const std::size_t first = actions_.size();
  SideCounts& counts = side == "handheld" ? handheld_ : desktop_;
  counts.entries_after = static_cast<int>(after.size());
  // A side that kept every entry in its place, as most sides of most runs
  // do, has nothing to pair.
  if (std::equal(before.begin(), before.end(), after.begin(), after.end(), SameEntry)) {
    counts.favorites_before = static_cast<int>(std::count_if(before.begin(), before.end(), [](const TreeEntry& e) { return e.is_url; }));
    return;
  }
  std::unordered_map<std::string, std::vector<std::size_t>> after_by_key;
  for (std::size_t i = 0; i < after.size(); ++i) after_by_key[KeyOf(after[i])].push_back(i);
  std::vector<bool> after_used(after.size(), false);
  std::vector<const std::vector<std::size_t>*> candidates(before.size(), nullptr);
  std::vector<bool> before_kept(before.size(), false);
  std::vector<std::size_t> gone;  // the favourites deleted
  // Entries that stayed as they were pair first, so that a change pairs
  // what is left.
  for (std::size_t i = 0; i < before.size(); ++i) {
    if (before[i].is_url) ++counts.favorites_before;
    auto found = after_by_key.find(KeyOf(before[i]));
    if (found == after_by_key.end()) continue;
    candidates[i] = &found->second;
    for (std::size_t j : found->second) {
      if (!after_used[j] && after[j].url == before[i].url) {
        after_used[j] = before_kept[i] = true;
        break;
      }
    }
  }
  for (std::size_t i = 0; i < before.size(); ++i) {
    if (before_kept[i]) continue;
    const std::size_t* changed = nullptr;
    if (candidates[i]) {
      for (const std::size_t& j : *candidates[i]) {
        if (!after_used[j]) {
          changed = &j;
          break;
        }
      }
    }
    if (changed) {
      after_used[*changed] = true;
      actions_.push_back({side, "changed", after[*changed], before[i].url});
      ++counts.changed;
    } else {
      actions_.push_back({side, "deleted", before[i], before[i].url});
      actions_.back().entry.url.clear();
      ++counts.deleted;
      if (before[i].is_url) gone.push_back(i);
    }
  }
  // A favourite added of the very title and address of one deleted was
  // moved (its folder renamed, most often): the side still holds it, so it
  // is not counted as lost.
  std::unordered_map<std::string, int> moved_to;
  for (std::size_t j = 0; j < after.size(); ++j) {
    if (after_used[j]) continue;
    actions_.push_back({side, "added", after[j], std::string()});
    ++counts.added;
    if (after[j].is_url) ++moved_to[FavoriteKey(after[j])];
  }
  for (std::size_t i : gone) {
    int& moved = moved_to[FavoriteKey(before[i])];
    if (moved > 0) {
      --moved;
    } else {
      ++counts.favorites_deleted;
    }
  }
  // In the order of the tree's paths, so that a preview and the run that
  // follows it list their actions alike whatever order the stores keep.
  std::stable_sort(actions_.begin() + static_cast<std::ptrdiff_t>(first), actions_.end(),
                   [](const RunAction& a, const RunAction& b) {
                     return std::tie(a.entry.folder(), a.entry.title) < std::tie(b.entry.folder(), b.entry.title);
                   });
}

bool RunReport::ChangesDesktop() const {
  return desktop_.added + desktop_.changed + desktop_.deleted > 0;
}

std::string RunReport::Summary() const {
  auto side = [](const char* name, const SideCounts& c) {
    return Format("%s: %d added, %d changed, %d deleted", name, c.added, c.changed, c.deleted);
  };
  return side("handheld", handheld_) + "; " + side("desktop", desktop_);
}

void RunReport::AppendDetail(std::string& text) const {
  std::size_t size = text.size();
  for (const RunAction& a : actions_) {
    size += a.side.size() + a.action.size() + a.entry.folder().size() + a.entry.title.size() + a.old_url.size() +
            a.entry.url.size() + 8;
  }
  text.reserve(size);
  for (const RunAction& a : actions_) {
    text += a.side;
    text += '\t';
    text += a.action;
    text += '\t';
    if (a.entry.folder().empty()) {
      text += '\\';
    } else {
      AppendField(text, a.entry.folder());
    }
    text += '\t';
    AppendField(text, a.entry.title);
    if (!a.entry.is_url) text += '\\';
    text += '\t';
    AppendField(text, a.old_url);
    text += '\t';
    AppendField(text, a.entry.url);
    text += '\n';
  }
}

}  // namespace kestro
