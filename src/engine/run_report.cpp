#include "engine/run_report.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <string_view>
#include <tuple>
#include <unordered_map>

#include "base/text.h"

namespace kestro {
namespace {

// Numbers the folders of the lists a report compares, the same number for
// the same path whichever list's FolderPath holds it, each name hashed once:
// comparing or hashing whole paths would cost the square of the depth.
class FolderNumbers {
 public:
  static constexpr int kTop = 0;

  int Of(const FolderPath* folder) {
    std::vector<const FolderPath*> unnumbered;
    for (; folder && !numbers_.count(folder); folder = folder->parent.get()) unnumbered.push_back(folder);
    int number = folder ? numbers_[folder] : kTop;
    for (auto it = unnumbered.rbegin(); it != unnumbered.rend(); ++it) {
      const auto made = by_name_.try_emplace({number, (*it)->name}, static_cast<int>(parents_.size()));
      if (made.second) {
        parents_.push_back(number);
        names_.push_back((*it)->name);
      }
      number = numbers_[*it] = made.first->second;
    }
    return number;
  }

  // Each number's rank in the order of the paths as text ("\A" < "\A\B"
  // < "\B"), the top first.
  std::vector<int> Ranks() const;

 private:
  struct NameHash {
    std::size_t operator()(const std::pair<int, std::string_view>& key) const {
      return std::hash<std::string_view>()(key.second) * 31 + static_cast<std::size_t>(key.first);
    }
  };
  std::unordered_map<const FolderPath*, int> numbers_;
  std::unordered_map<std::pair<int, std::string_view>, int, NameHash> by_name_;
  std::vector<int> parents_{-1};                 // by number; the top has none
  std::vector<std::string_view> names_{{}};     // by number
};

std::vector<int> FolderNumbers::Ranks() const {
  const std::size_t count = parents_.size();
  std::vector<int> ranks(count, 0);
  int next = 0;
  const bool separator_in_a_name = std::any_of(names_.begin(), names_.end(), [](std::string_view name) {
    return name.find('\\') != std::string_view::npos;
  });
  if (separator_in_a_name) {
    // A name holding the separator can sort between another folder's
    // subfolders: order the whole paths as text.
    std::vector<std::string> paths(count);
    for (std::size_t i = 1; i < count; ++i) {
      paths[i] = std::string(paths[static_cast<std::size_t>(parents_[i])]) + '\\' + std::string(names_[i]);
    }
    std::vector<int> order(count);
    for (std::size_t i = 0; i < count; ++i) order[i] = static_cast<int>(i);
    std::sort(order.begin(), order.end(), [&](int a, int b) { return paths[static_cast<std::size_t>(a)] < paths[static_cast<std::size_t>(b)]; });
    for (const int number : order) ranks[static_cast<std::size_t>(number)] = next++;
    return ranks;
  }
  std::vector<std::vector<int>> children(count);
  for (std::size_t i = 1; i < count; ++i) children[static_cast<std::size_t>(parents_[i])].push_back(static_cast<int>(i));
  // Below a folder, the paths of a subfolder S are "S" (the subfolder) and
  // "S\\..." (its own subfolders), so the two sort as blocks of those keys:
  // "A" < "AB" < "A\\x" puts the subfolder AB between A and A's subfolders.
  struct Block {
    std::string key;
    int folder;
    bool below;  // the folder's subfolders, not the folder
  };
  auto blocks_of = [&](int folder) {
    std::vector<Block> blocks;
    for (const int child : children[static_cast<std::size_t>(folder)]) {
      blocks.push_back({std::string(names_[static_cast<std::size_t>(child)]), child, false});
      if (!children[static_cast<std::size_t>(child)].empty()) {
        blocks.push_back({std::string(names_[static_cast<std::size_t>(child)]) + '\\', child, true});
      }
    }
    std::sort(blocks.begin(), blocks.end(), [](const Block& a, const Block& b) { return a.key < b.key; });
    return blocks;
  };
  ranks[kTop] = next++;
  // Depth first without a call per level: a tree may be nested thousands deep.
  std::vector<std::pair<std::vector<Block>, std::size_t>> open;
  open.emplace_back(blocks_of(kTop), 0);
  while (!open.empty()) {
    auto& [blocks, at] = open.back();
    if (at == blocks.size()) {
      open.pop_back();
      continue;
    }
    const Block& block = blocks[at++];
    if (block.below) {
      const int folder = block.folder;
      open.emplace_back(blocks_of(folder), 0);
    } else {
      ranks[static_cast<std::size_t>(block.folder)] = next++;
    }
  }
  return ranks;
}

std::string KeyOf(const TreeEntry& e, FolderNumbers& folders) {
  const int folder = folders.Of(e.folder_path.get());
  std::string key(reinterpret_cast<const char*>(&folder), sizeof folder);
  key += e.title;
  key += e.is_url ? "\x01u" : "\x01" "f";
  return key;
}

bool SameEntry(const TreeEntry& a, const TreeEntry& b, FolderNumbers& folders) {
  return a.is_url == b.is_url && a.title == b.title && a.url == b.url &&
         (a.folder_path == b.folder_path || folders.Of(a.folder_path.get()) == folders.Of(b.folder_path.get()));
}

std::string FavoriteKey(const TreeEntry& e) { return e.title + '\x01' + e.url; }

// Makes spaces of the tabs and line breaks in text from at on: they would
// split a detail line's field. In place, without copies.
void BlankSplits(std::string& text, std::size_t at) {
  char* const end = text.data() + text.size();
  for (const char split : {'\t', '\r', '\n'}) {
    char* found = text.data() + at;
    while ((found = static_cast<char*>(std::memchr(found, split, static_cast<std::size_t>(end - found))))) {
      *found++ = ' ';
    }
  }
}

void AppendField(std::string& text, std::string_view field) {
  const std::size_t at = text.size();
  text += field;
  BlankSplits(text, at);
}

constexpr std::string_view kCut = "\xE2\x80\xA6";  // "…": the folder's first names are left out

// The folder column: the whole path, or past the limit the last names that
// fit after "…". tail is scratch room, kept from line to line.
void AppendFolder(std::string& text, const FolderPath* folder, std::vector<const FolderPath*>& tail) {
  if (!folder) {
    text += '\\';
    return;
  }
  tail.clear();
  std::size_t size = 0;
  for (const FolderPath* f = folder; f; f = f->parent.get()) {
    size += 1 + f->name.size();
    if (!tail.empty() && size > RunReport::kDetailFolderLimit) break;
    tail.push_back(f);
  }
  if (tail.back()->parent) text += kCut;
  const std::size_t at = text.size();
  for (auto it = tail.rbegin(); it != tail.rend(); ++it) {
    text += '\\';
    text += (*it)->name;
  }
  BlankSplits(text, at);
}

template <typename Item>
TreeEntries Entries(const std::vector<Item>& items, bool skip_deleted) {
  TreeEntries entries;
  entries.reserve(items.size());
  std::vector<std::shared_ptr<const FolderPath>> folders;  // the folder at each level
  for (const auto& item : items) {
    const std::size_t level = item->Level < 0 ? 0 : static_cast<std::size_t>(item->Level);
    if (folders.size() > level) folders.resize(level);
    std::shared_ptr<const FolderPath> folder = folders.empty() ? nullptr : folders.back();
    while (folders.size() < level) folders.push_back(folder);  // a level skipped by broken order
    if (!item->isUrl) folders.push_back(SubfolderPath(folder, item->NameText()));
    if (skip_deleted && item->isDeleted) continue;
    entries.push_back({std::move(folder), std::string(item->NameText()),
                       item->isUrl ? std::string(item->URLText()) : std::string(), item->isUrl != 0});
  }
  return entries;
}

}  // namespace

FolderPath::FolderPath(std::shared_ptr<const FolderPath> parent_path, std::string_view folder_name)
    : parent(std::move(parent_path)), name(folder_name), length((parent ? parent->length : 0) + 1 + name.size()) {}

FolderPath::~FolderPath() {
  std::shared_ptr<const FolderPath> next = std::move(parent);
  while (next && next.use_count() == 1) next = std::move(next->parent);
}

std::string TreeEntry::folder() const {
  std::string path(folder_path ? folder_path->length : 0, '\\');
  for (const FolderPath* f = folder_path.get(); f; f = f->parent.get()) {
    path.replace(f->length - f->name.size(), f->name.size(), f->name);
  }
  return path;
}

std::shared_ptr<const FolderPath> SubfolderPath(const std::shared_ptr<const FolderPath>& folder,
                                                std::string_view name) {
  return std::make_shared<const FolderPath>(folder, name);
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
  FolderNumbers folders;
  auto same = [&folders](const TreeEntry& a, const TreeEntry& b) { return SameEntry(a, b, folders); };
  if (std::equal(before.begin(), before.end(), after.begin(), after.end(), same)) {
    counts.favorites_before = static_cast<int>(std::count_if(before.begin(), before.end(), [](const TreeEntry& e) { return e.is_url; }));
    return;
  }
  std::unordered_map<std::string, std::vector<std::size_t>> after_by_key;
  for (std::size_t i = 0; i < after.size(); ++i) after_by_key[KeyOf(after[i], folders)].push_back(i);
  std::vector<bool> after_used(after.size(), false);
  std::vector<const std::vector<std::size_t>*> candidates(before.size(), nullptr);
  std::vector<bool> before_kept(before.size(), false);
  std::vector<std::size_t> gone;  // the favourites deleted
  // Entries that stayed as they were pair first, so that a change pairs
  // what is left.
  for (std::size_t i = 0; i < before.size(); ++i) {
    if (before[i].is_url) ++counts.favorites_before;
    auto found = after_by_key.find(KeyOf(before[i], folders));
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
  const std::vector<int> ranks = folders.Ranks();
  std::vector<std::pair<int, std::size_t>> order;  // each action's folder rank, and where it is
  order.reserve(actions_.size() - first);
  for (std::size_t i = first; i < actions_.size(); ++i) {
    order.emplace_back(ranks[static_cast<std::size_t>(folders.Of(actions_[i].entry.folder_path.get()))], i);
  }
  std::stable_sort(order.begin(), order.end(), [&](const auto& a, const auto& b) {
    return a.first != b.first ? a.first < b.first : actions_[a.second].entry.title < actions_[b.second].entry.title;
  });
  std::vector<RunAction> sorted;
  sorted.reserve(order.size());
  for (const auto& o : order) sorted.push_back(std::move(actions_[o.second]));
  std::move(sorted.begin(), sorted.end(), actions_.begin() + static_cast<std::ptrdiff_t>(first));
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
    const FolderPath* folder = a.entry.folder_path.get();
    const std::size_t folder_size = folder ? std::min(folder->length, kDetailFolderLimit + kCut.size() + 1 + folder->name.size()) : 1;
    size += a.side.size() + a.action.size() + folder_size + a.entry.title.size() + a.old_url.size() + a.entry.url.size() + 8;
  }
  text.reserve(size);
  std::vector<const FolderPath*> tail;
  for (const RunAction& a : actions_) {
    text += a.side;
    text += '\t';
    text += a.action;
    text += '\t';
    AppendFolder(text, a.entry.folder_path.get(), tail);
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
