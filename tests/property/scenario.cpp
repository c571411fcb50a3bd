#include "property/scenario.h"

#include <cstddef>
#include <cstdint>

namespace kestro::property {
namespace {

using testing::kClosed;
using testing::kDeleted;
using testing::kModified;
using testing::kNew;

constexpr std::size_t kTop = SIZE_MAX;

bool FoldEqual(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto up = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    if (up(a[i]) != up(b[i])) return false;
  }
  return true;
}

enum class Kind {
  kAddFavorite,
  kAddFolder,
  kChangeUrl,
  kRenameFavorite,
  kRenameFolder,
  kDeleteFavorite,
  kDeleteFolder,
  kToggleFolder
};
struct Weighted {
  Kind kind;
  int weight;
};
constexpr Weighted kKinds[] = {{Kind::kAddFavorite, 24},  {Kind::kAddFolder, 8},
                               {Kind::kChangeUrl, 16},    {Kind::kRenameFavorite, 12},
                               {Kind::kRenameFolder, 10}, {Kind::kDeleteFavorite, 16},
                               {Kind::kDeleteFolder, 6},  {Kind::kToggleFolder, 8}};

// Makes edits on one side. The handheld keeps deleted records with their
// flag; the desktop loses them. A handheld edit sets the flags the handheld
// application sets: new, modified (a renamed folder keeps its former name in
// its address), deleted (a folder's contents with it).
class Editor {
 public:
  Editor(Prng& rng, const Scenario& scenario, Tree& tree, bool handheld)
      : rng_(rng), scenario_(scenario), tree_(tree), handheld_(handheld) {}

  std::string RandomEdit() {
    int roll = rng_.Between(1, 100);
    Kind kind = Kind::kAddFavorite;
    for (const Weighted& w : kKinds) {
      if ((roll -= w.weight) <= 0) {
        kind = w.kind;
        break;
      }
    }
    if (kind == Kind::kToggleFolder && !handheld_) kind = Kind::kRenameFolder;
    const bool on_folder =
        kind == Kind::kRenameFolder || kind == Kind::kDeleteFolder || kind == Kind::kToggleFolder;
    const std::vector<std::size_t> targets = Entries(on_folder);
    if (kind == Kind::kAddFavorite || kind == Kind::kAddFolder || targets.empty()) {
      return kind == Kind::kAddFolder ? AddFolder(Container()) : AddFavorite(Container());
    }
    const std::size_t at = rng_.Pick(targets);
    switch (kind) {
      case Kind::kChangeUrl:
        return ChangeUrl(at);
      case Kind::kRenameFavorite:
        return Rename(at);
      case Kind::kRenameFolder:
        return Rename(at);
      case Kind::kDeleteFavorite:
        return Delete(at);
      case Kind::kDeleteFolder:
        return Delete(at);
      default:
        return Toggle(at);
    }
  }

  // The next entry of a desktop built in depth-first order: closes folders,
  // opens one or adds a favourite to the innermost open folder.
  void Grow(std::vector<std::size_t>& open) {
    if (!open.empty() && rng_.Percent(12)) {
      open.pop_back();
      return;
    }
    const std::size_t container = open.empty() ? kTop : open.back();
    const int level = static_cast<int>(open.size());
    if (level < scenario_.size.depth - 1 && rng_.Percent(18)) {
      tree_.push_back(Folder(level, NameIn(container, true)));
      open.push_back(tree_.size() - 1);
    } else {
      tree_.push_back(Favorite(level, NameIn(container, false), Url()));
    }
  }

 private:
  bool Visible(std::size_t i) const { return !handheld_ || Live(tree_[i]); }

  std::vector<std::size_t> Entries(bool folders) const {
    std::vector<std::size_t> out;
    for (std::size_t i = 0; i < tree_.size(); ++i) {
      if (tree_[i].folder == folders && Visible(i)) out.push_back(i);
    }
    return out;
  }

  std::size_t Container() {
    std::vector<std::size_t> choices{kTop};
    for (std::size_t i : Entries(true)) {
      if (tree_[i].level < scenario_.size.depth - 1) choices.push_back(i);
    }
    return rng_.Pick(choices);
  }

  std::size_t ContainerOf(std::size_t at) const {
    for (std::size_t i = at; i-- > 0;) {
      if (tree_[i].level < tree_[at].level) return i;
    }
    return kTop;
  }

  int LevelIn(std::size_t container) const {
    return container == kTop ? 0 : tree_[container].level + 1;
  }

  std::vector<const Entry*> Children(std::size_t container) const {
    std::vector<const Entry*> out;
    const std::size_t end = container == kTop ? tree_.size() : SubtreeEnd(tree_, container);
    for (std::size_t i = container == kTop ? 0 : container + 1; i < end; ++i) {
      if (tree_[i].level == LevelIn(container) && Visible(i)) out.push_back(&tree_[i]);
    }
    return out;
  }

  // A name for an entry of this kind in the container. The desktop gets only
  // names its browser could hold, and a favourites folder no two entries of
  // one kind whose names differ only in case.
  std::string NameIn(std::size_t container, bool folder) {
    std::vector<std::string> siblings;
    for (const Entry* e : Children(container)) siblings.push_back(e->name);
    for (int attempt = 0; attempt < 20; ++attempt) {
      std::string name = NewName(rng_, siblings);
      if (handheld_) return name;
      if (!DesktopCanHoldName(scenario_.store, name)) continue;
      bool taken = false;
      for (const Entry* e : Children(container)) {
        taken |= e->folder == folder && FoldEqual(e->name, name);
      }
      if (!taken || scenario_.store == Store::kBookmarkFile) return name;
    }
    return "unique" + std::to_string(rng_.Next() % 1000000000);
  }

  std::string Url() {
    for (;;) {
      std::string url = NewUrl(rng_);
      if (handheld_ || DesktopCanHoldUrl(scenario_.store, url)) return url;
    }
  }

  std::string Where(std::size_t at) const {
    const std::string place = PlaceKeys(tree_)[at];
    return ShowKey(tree_[at].folder ? place : FavoriteKey(place, tree_[at]));
  }

  std::size_t Insert(std::size_t container, Entry e) {
    e.level = LevelIn(container);
    if (handheld_) e.status |= kNew;
    const bool first = rng_.Percent(50);
    std::size_t at = container == kTop ? (first ? 0 : tree_.size())
                                       : (first ? container + 1 : SubtreeEnd(tree_, container));
    tree_.insert(tree_.begin() + static_cast<std::ptrdiff_t>(at), std::move(e));
    return at;
  }

  std::string AddFavorite(std::size_t container) {
    std::string name = NameIn(container, false);
    return "add " + Where(Insert(container, Favorite(0, name, Url())));
  }

  std::string AddFolder(std::size_t container) {
    const std::size_t at = Insert(container, Folder(0, NameIn(container, true)));
    std::string text = "add " + Where(at);
    const int inside = tree_[at].level + 1 < scenario_.size.depth ? rng_.Between(0, 3) : 0;
    for (int i = 0; i < inside; ++i) text += "; " + AddFavorite(at);
    return text;
  }

  void MarkModified(Entry& e) {
    if (!(e.status & kNew)) e.status |= kModified;
  }

  std::string ChangeUrl(std::size_t at) {
    const std::string before = Where(at);
    tree_[at].url = Url();
    if (handheld_) MarkModified(tree_[at]);
    return "change the address of " + before + " to " + Where(at);
  }

  std::string Rename(std::size_t at) {
    const std::string before = Where(at);
    Entry& e = tree_[at];
    std::string name = NameIn(ContainerOf(at), e.folder);
    if (handheld_ && e.folder && !(e.status & kNew) && e.url.empty()) e.url = e.name;
    tree_[at].name = name;
    if (handheld_) MarkModified(tree_[at]);
    return "rename " + before + " to " + Where(at);
  }

  std::string Delete(std::size_t at) {
    const std::string what = "delete " + Where(at);
    const std::size_t end = SubtreeEnd(tree_, at);
    if (handheld_ && !((tree_[at].status & kNew) && rng_.Percent(50))) {
      for (std::size_t i = at; i < end; ++i) tree_[i].status |= kDeleted;
    } else {
      tree_.erase(tree_.begin() + static_cast<std::ptrdiff_t>(at),
                  tree_.begin() + static_cast<std::ptrdiff_t>(end));
    }
    return what;
  }

  // Opening or closing a folder on the handheld marks it modified without a
  // former name.
  std::string Toggle(std::size_t at) {
    tree_[at].status ^= kClosed;
    MarkModified(tree_[at]);
    return "open or close " + Where(at);
  }

  Prng& rng_;
  const Scenario& scenario_;
  Tree& tree_;
  const bool handheld_;
};

std::vector<std::string> Edit(Prng& rng, const Scenario& scenario, Tree& tree, bool handheld) {
  Editor editor(rng, scenario, tree, handheld);
  std::vector<std::string> done;
  const int count = rng.Between(0, scenario.size.edits);
  for (int i = 0; i < count; ++i)
    done.push_back((handheld ? "handheld: " : "desktop: ") + editor.RandomEdit());
  return done;
}

}  // namespace

Scenario MakeScenario(uint64_t seed, Store store, const ScenarioSize& fixed) {
  Prng draw(seed * 2 + static_cast<uint64_t>(store));
  Scenario s;
  s.seed = seed;
  s.store = store;
  s.size.items = draw.Between(200, 2000);
  s.size.depth = draw.Between(1, 5);
  s.size.edits = draw.Between(1, 5 + s.size.items / 40);
  const int style = draw.Between(1, 10);
  s.style = style <= 6   ? BookmarkStyle::kExport
            : style <= 8 ? BookmarkStyle::kLowerCase
                         : BookmarkStyle::kNoTopList;
  s.stream = draw.Next();
  if (fixed.items > 0) s.size.items = fixed.items;
  if (fixed.depth > 0) s.size.depth = fixed.depth;
  if (fixed.edits > 0) s.size.edits = fixed.edits;
  return s;
}

std::string ShowScenario(const Scenario& s) {
  static const char* const kStyles[] = {"export", "lower-case", "no-top-list"};
  std::string text = "seed " + std::to_string(s.seed) + ", " + StoreName(s.store);
  if (s.store == Store::kBookmarkFile)
    text += std::string(" (") + kStyles[static_cast<int>(s.style)] + ")";
  return text + ", items " + std::to_string(s.size.items) + ", depth " +
         std::to_string(s.size.depth) + ", edits " + std::to_string(s.size.edits);
}

Tree GenerateDesktop(Prng& rng, const Scenario& scenario) {
  Tree tree;
  Editor editor(rng, scenario, tree, false);
  std::vector<std::size_t> open;
  while (static_cast<int>(tree.size()) < scenario.size.items) editor.Grow(open);
  return tree;
}

std::vector<std::string> EditHandheld(Prng& rng, const Scenario& scenario, Tree& handheld) {
  return Edit(rng, scenario, handheld, true);
}

std::vector<std::string> EditDesktop(Prng& rng, const Scenario& scenario, Tree& desktop) {
  return Edit(rng, scenario, desktop, false);
}

}  // namespace kestro::property
