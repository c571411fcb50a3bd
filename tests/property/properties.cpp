#include "property/properties.h"

#include <algorithm>
#include <map>
#include <set>

namespace kestro::property {
namespace {

using Counts = std::map<std::string, int>;

// Keys of a tree's entries: places for folders, places and addresses for favourites.
std::vector<std::string> EntryKeys(const Tree& tree) {
  std::vector<std::string> keys = PlaceKeys(tree);
  for (std::size_t i = 0; i < tree.size(); ++i) {
    if (!tree[i].folder) keys[i] = FavoriteKey(keys[i], tree[i]);
  }
  return keys;
}

Counts Count(const Tree& tree, bool live_only, bool favorites_only) {
  Counts counts;
  const std::vector<std::string> keys = EntryKeys(tree);
  for (std::size_t i = 0; i < tree.size(); ++i) {
    if ((!live_only || Live(tree[i])) && (!favorites_only || !tree[i].folder)) ++counts[keys[i]];
  }
  return counts;
}

int At(const Counts& counts, const std::string& key) {
  auto it = counts.find(key);
  return it == counts.end() ? 0 : it->second;
}

// Calls check(side, key, count) for every favourite key of each side after the run.
template <typename Check>
void EachFavoriteAfter(const RunOutcome& run, Check check) {
  for (const auto& [side, tree] :
       {std::pair{"handheld", &run.handheld_after}, {"desktop", &run.desktop_after}}) {
    for (const auto& [key, n] : Count(*tree, false, true)) check(side, key, n);
  }
}

// Place keys that tell same-named sibling folders apart, as the conduit
// pairs them: each prefixed with the last run's entry its folder was.
std::vector<std::string> OwnFolderPlaceKeys(const Tree& tree) {
  std::vector<std::string> keys = PlaceKeys(tree);
  std::vector<int> folders;  // the origin of each open level
  for (std::size_t i = 0; i < tree.size(); ++i) {
    folders.resize(static_cast<std::size_t>(std::max(tree[i].level, 0)));
    keys[i].insert(0, (folders.empty() ? "top" : std::to_string(folders.back())) + ":");
    if (tree[i].folder) folders.push_back(tree[i].origin);
  }
  return keys;
}

// The entries of the last run still at their place (and live) on a side.
std::set<std::pair<std::string, int>> OriginsAt(const Tree& tree) {
  std::set<std::pair<std::string, int>> at;
  const std::vector<std::string> places = PlaceKeys(tree);
  for (std::size_t i = 0; i < tree.size(); ++i) {
    if (Live(tree[i]) && tree[i].origin >= 0) at.insert({places[i], tree[i].origin});
  }
  return at;
}

// The folders around the entry at `at`, innermost first.
std::vector<std::size_t> Enclosing(const Tree& tree, std::size_t at) {
  std::vector<std::size_t> folders;
  int level = tree[at].level;
  for (std::size_t i = at; i-- > 0 && level > 0;) {
    if (tree[i].folder && tree[i].level < level) {
      folders.push_back(i);
      level = tree[i].level;
    }
  }
  return folders;
}

std::string Times(int n) { return n == 1 ? "once" : std::to_string(n) + " times"; }

// The entry's own name in a place key (folded and cut).
std::string OwnName(const std::string& place) {
  const std::size_t cut = place.rfind('\x01');
  return place.substr(cut == std::string::npos ? 1 : cut + 1);
}

}  // namespace

void MarkOrigins(Tree& last, Tree& desktop) {
  std::map<std::string, std::vector<int>> at_place;
  const std::vector<std::string> last_places = PlaceKeys(last), desktop_places = PlaceKeys(desktop);
  for (std::size_t i = 0; i < last.size(); ++i) {
    last[i].origin = static_cast<int>(i);
    at_place[last_places[i]].push_back(static_cast<int>(i));
  }
  std::map<std::string, std::size_t> taken;
  for (std::size_t i = 0; i < desktop.size(); ++i) {
    const std::vector<int>& same = at_place[desktop_places[i]];
    std::size_t& k = taken[desktop_places[i]];
    desktop[i].origin = k < same.size() ? same[k] : -1;
    ++k;
  }
}

std::vector<std::string> LostEntries(const RunOutcome& run) {
  // Places each side still holds, and the entries each side left as they were.
  Counts held_handheld, held_desktop;
  auto hold = [](const Tree& tree, bool handheld, Counts& held, Counts& unchanged,
                 const Counts& last) {
    const std::vector<std::string> places = PlaceKeys(tree), keys = EntryKeys(tree);
    for (std::size_t i = 0; i < tree.size(); ++i) {
      if (!Live(tree[i])) continue;
      ++held[places[i]];
      const bool clean = !handheld || !(tree[i].status & (testing::kNew | testing::kModified));
      if (clean && At(last, keys[i]) > 0) ++unchanged[places[i]];
    }
  };
  const Counts last = Count(run.last, false, false);
  Counts kept_handheld, kept_desktop;
  hold(run.handheld_before, true, held_handheld, kept_handheld, last);
  hold(run.desktop_before, false, held_desktop, kept_desktop, last);
  // A desktop entry that the handheld deleted (same place and address) is
  // not one the desktop still holds for another entry of its name.
  Counts desktop_entries = Count(run.desktop_before, false, false);
  const std::vector<std::string> handheld_places = PlaceKeys(run.handheld_before),
                                 handheld_keys = EntryKeys(run.handheld_before);
  for (std::size_t i = 0; i < run.handheld_before.size(); ++i) {
    if (Live(run.handheld_before[i]) || At(desktop_entries, handheld_keys[i]) == 0) continue;
    --desktop_entries[handheld_keys[i]];
    --held_desktop[handheld_places[i]];
  }
  // Afterwards, by place (an address may have changed on the other side).
  Counts after_places;
  for (const Tree* tree : {&run.handheld_after, &run.desktop_after}) {
    Counts here;
    for (const std::string& place : PlaceKeys(*tree)) ++here[place];
    for (const auto& [place, n] : here) after_places[place] = std::max(At(after_places, place), n);
  }
  // The entries of the last run still at their place on both sides.
  const auto on_handheld = OriginsAt(run.handheld_before), on_desktop = OriginsAt(run.desktop_before);
  const bool marked = !run.last.empty() && run.last.front().origin >= 0;
  Counts on_both;
  for (const auto& entry : on_handheld) {
    if (on_desktop.count(entry)) ++on_both[entry.first];
  }
  std::vector<std::string> lost;
  std::set<std::string> seen;
  for (const std::string& place : PlaceKeys(run.last)) {
    if (!seen.insert(place).second) continue;
    if (At(kept_handheld, place) == 0 && At(kept_desktop, place) == 0) continue;
      int protect = std::min(At(held_handheld, place), At(held_desktop, place));
    if (marked) protect = std::min(protect, At(on_both, place));
    if (At(after_places, place) < protect) {
      lost.push_back("lost: " + ShowKey(place) + " was held " + Times(protect) +
                     " on both sides, kept unchanged on " +
                     (At(kept_handheld, place) ? "the handheld" : "the desktop") + ", and is now " +
                     Times(At(after_places, place)) + " on its fullest side");
    }
  }
  return lost;
}

std::vector<std::string> LostNewFavorites(const RunOutcome& run) {
  const std::vector<std::string> places_handheld = PlaceKeys(run.handheld_before),
                                 places_desktop = PlaceKeys(run.desktop_before);
  // Places where the handheld holds a new or changed favourite: in a
  // favourites folder (one file per name) it takes the desktop's file there.
  // A place the handheld holds more than once: the folder keeps the first
  // favourite or folder of that name and refuses a new one, which stays on
  // the handheld with what it holds.
  std::set<std::string> handheld_edits;
  Counts handheld_names;
  for (std::size_t i = 0; i < run.handheld_before.size(); ++i) {
    const Entry& e = run.handheld_before[i];
    if (!Live(e)) continue;
    ++handheld_names[places_handheld[i]];
    if (!e.folder && (e.status & (testing::kNew | testing::kModified)))
      handheld_edits.insert(places_handheld[i]);
  }
  const bool one_per_name = run.store == Store::kFavoritesFolder;
  const std::vector<std::string> places_last = PlaceKeys(run.last);
  Counts on_both, on_handheld_only;  // how many of a key one side added
  // Where a favourite added inside folders its own side renamed may end: each
  // renamed folder under its new name, or under its former one when the
  // rename did not go through.
  std::map<std::string, std::set<std::string>> ends_at;
  auto added = [&](const Tree& tree, const std::vector<std::string>& places, const Tree& other,
                   bool handheld) {
    const auto other_holds = OriginsAt(other);
    Counts both, handheld_only;
    for (std::size_t i = 0; i < tree.size(); ++i) {
      const Entry& e = tree[i];
      if (e.folder || !Live(e) || e.origin >= 0) continue;
      bool storable = DesktopCanHoldName(run.store, e.name) && DesktopCanHoldUrl(run.store, e.url);
      // Every known folder around it is where the last run left it on the
      // other side; its own side may have renamed it.
      bool folder_kept = true;
      std::vector<std::string> paths{"L"};
      const std::vector<std::size_t> around = Enclosing(tree, i);
      for (auto f = around.rbegin(); f != around.rend(); ++f) {
        storable = storable && DesktopCanHoldName(run.store, tree[*f].name) &&
                   !(handheld && one_per_name && At(handheld_names, places[*f]) > 1);
        std::vector<std::string> names{OwnName(places[*f])};
        if (const int o = tree[*f].origin; o >= 0) {
          const std::string& was = places_last[static_cast<std::size_t>(o)];
          folder_kept = folder_kept && other_holds.count({was, o});
          if (OwnName(was) != names[0]) names.push_back(OwnName(was));
        }
        std::vector<std::string> longer;
        for (const std::string& path : paths) {
          for (const std::string& name : names) longer.push_back(path + name + '\x01');
        }
        paths = longer;
      }
      if (!folder_kept) continue;
      if (!handheld && one_per_name && handheld_edits.count(places[i])) continue;
      if (handheld && one_per_name && At(handheld_names, places[i]) > 1) storable = false;
      const std::string key = FavoriteKey(places[i], e);
      ++(storable ? both : handheld_only)[key];
      for (const std::string& path : paths)
        ends_at[key].insert(FavoriteKey(path + OwnName(places[i]), e));
    }
    for (const auto& [key, n] : both) on_both[key] = std::max(At(on_both, key), n);
    for (const auto& [key, n] : handheld_only) on_handheld_only[key] = std::max(At(on_handheld_only, key), n);
  };
  added(run.handheld_before, places_handheld, run.desktop_before, true);
  added(run.desktop_before, places_desktop, run.handheld_before, false);
  const Counts handheld_after = Count(run.handheld_after, false, true),
               desktop_after = Count(run.desktop_after, false, true);
  std::vector<std::string> lost;
  auto check = [&](const std::string& side, const std::string& key, int need, const Counts& after) {
    if (At(after, key) < need) {
      lost.push_back("new lost: " + ShowKey(key) + " was added " + Times(need) + " and is now " +
                     Times(At(after, key)) + " on the " + side);
    }
  };
  // Both sides hold it in one of the folders it may end in, or else it is
  // reported where its own side put it.
  auto check_both = [&](const std::string& key, int need_handheld, int need_desktop) {
    for (const std::string& end : ends_at[key]) {
      if (At(handheld_after, end) >= need_handheld && At(desktop_after, end) >= need_desktop)
        return;
    }
    check("handheld", key, need_handheld, handheld_after);
    check("desktop", key, need_desktop, desktop_after);
  };
  for (const auto& [key, n] : on_both) check_both(key, std::max(n, At(on_handheld_only, key)), n);
  for (const auto& [key, n] : on_handheld_only) {
    if (!on_both.count(key)) check_both(key, n, 0);
  }
  return lost;
}

// The folders the handheld renamed: the path inside each under its former
// name and under its new one (keys without their kind letter).
std::vector<std::pair<std::string, std::string>> HandheldRenames(const Tree& handheld) {
  std::vector<std::pair<std::string, std::string>> renames;
  const std::vector<std::string> keys = PlaceKeys(handheld);
  for (std::size_t i = 0; i < handheld.size(); ++i) {
    const Entry& e = handheld[i];
    if (!e.folder || !(e.status & testing::kModified) || e.url.empty()) continue;
    const std::string path = keys[i].substr(1);
    const std::size_t cut = path.rfind('\x01');
    std::string former = e.url.substr(0, 256);
    for (char& c : former) c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    renames.emplace_back((cut == std::string::npos ? "" : path.substr(0, cut + 1)) + former + '\x01',
                         path + '\x01');
  }
  return renames;
}

std::vector<std::string> FavoritesInForeignFolders(const RunOutcome& run) {
  const Counts before_handheld = Count(run.handheld_before, false, true);
  const Counts before_desktop = Count(run.desktop_before, false, true);
  const auto renames = HandheldRenames(run.handheld_before);
  // Before, under the other name of a folder the handheld renamed (the
  // rename may also have been refused and undone).
  auto had_at = [&](const std::string& key) {
    return At(before_handheld, key) > 0 || At(before_desktop, key) > 0;
  };
  // Nested folders may both be renamed: each rename, in either direction,
  // may apply on the way to a key one side had.
  auto had = [&](const std::string& key) {
    std::vector<std::string> tried{key};
    for (std::size_t next = 0; next < tried.size() && tried.size() < 256; ++next) {
      const std::string k = tried[next];
      if (had_at(k)) return true;
      for (const auto& [former, renamed] : renames) {
        for (const auto& [from, to] : {std::pair{&renamed, &former}, {&former, &renamed}}) {
          if (k.compare(1, from->size(), *from) != 0) continue;
          std::string other = k.substr(0, 1) + *to + k.substr(1 + from->size());
          if (std::find(tried.begin(), tried.end(), other) == tried.end()) tried.push_back(other);
        }
      }
    }
    return false;
  };
  std::vector<std::string> foreign;
  EachFavoriteAfter(run, [&](const std::string& side, const std::string& key, int) {
    if (!had(key)) {
      foreign.push_back("foreign folder: " + ShowKey(key) + " is on the " + side +
                        ", and neither side had it in that folder before");
    }
  });
  return foreign;
}

std::vector<std::string> NewDuplicates(const RunOutcome& run) {
  const Counts before_handheld = Count(run.handheld_before, true, true);
  const Counts before_desktop = Count(run.desktop_before, false, true);
  std::vector<std::string> duplicates;
  EachFavoriteAfter(run, [&](const std::string& side, const std::string& key, int n) {
    const int most = std::max({At(before_handheld, key), At(before_desktop, key), 1});
    if (n > most) {
      duplicates.push_back("duplicate: " + ShowKey(key) + " is " + Times(n) + " on the " + side +
                           ", at most " + Times(most) + " on one side before");
    }
  });
  return duplicates;
}

std::vector<std::string> FirstRunDifferences(const Tree& desktop, const Tree& handheld) {
  const Counts want = Count(desktop, false, false), got = Count(handheld, false, false);
  std::vector<std::string> differences;
  for (const auto& [key, n] : want) {
    if (At(got, key) < n) {
      differences.push_back("first run lost: " + ShowKey(key) + " is " + Times(n) +
                            " on the desktop, " + Times(At(got, key)) + " on the handheld");
    }
  }
  for (const auto& [key, n] : got) {
    if (n > At(want, key)) {
      differences.push_back("first run duplicate: " + ShowKey(key) + " is " + Times(n) +
                            " on the handheld, " + Times(At(want, key)) + " on the desktop");
    }
  }
  return differences;
}

std::string FirstDifference(const std::string& before, const std::string& after) {
  if (before == after) return {};
  std::size_t at = 0;
  while (at < before.size() && at < after.size() && before[at] == after[at]) ++at;
  const std::size_t line = before.rfind('\n', at == 0 ? 0 : at - 1);
  const std::size_t from = line == std::string::npos ? 0 : line + 1;
  auto line_of = [&](const std::string& text) {
    return text.substr(from, text.find('\n', from) - from);
  };
  return "second run changed: \"" + line_of(before) + "\" became \"" + line_of(after) + "\"";
}

bool ChangedOnHandheldDeletedOnDesktop(const RunOutcome& run) {
  // The conduit knows a name from the last run by its level and kind alone.
  auto known_key = [](const Entry& e, const std::string& place) {
    return std::to_string(e.level) + place.substr(place.rfind('\x01') + 1);
  };
  const std::vector<std::string> last = PlaceKeys(run.last), handheld = PlaceKeys(run.handheld_before);
  std::set<std::string> known;
  for (std::size_t i = 0; i < run.last.size(); ++i) {
    if (!run.last[i].folder) known.insert(known_key(run.last[i], last[i]));
  }
  // Counted in its own folder: a sibling folder of the same name is another.
  const std::vector<std::string> own = OwnFolderPlaceKeys(run.handheld_before);
  Counts on_desktop, desktop_entries;
  const Tree& desktop = run.desktop_before;
  const std::vector<std::string> desktop_own = OwnFolderPlaceKeys(desktop);
  for (std::size_t i = 0; i < desktop.size(); ++i) {
    ++on_desktop[desktop_own[i]];
    ++desktop_entries[desktop[i].folder ? desktop_own[i] : FavoriteKey(desktop_own[i], desktop[i])];
  }
  // A handheld deletion takes the desktop entry of its very address, if any.
  Counts on_handheld;
  for (std::size_t i = 0; i < run.handheld_before.size(); ++i) {
    const Entry& e = run.handheld_before[i];
    const std::string key = e.folder ? own[i] : FavoriteKey(own[i], e);
    const bool takes = !Live(e) && At(desktop_entries, key) > 0;
    if (takes) --desktop_entries[key];
    if (Live(e) || takes) ++on_handheld[own[i]];
  }
  // A changed favourite with a known name and no desktop entry left for it.
  for (std::size_t i = 0; i < run.handheld_before.size(); ++i) {
    const Entry& e = run.handheld_before[i];
    if (!e.folder && Live(e) && (e.status & testing::kModified) &&
        known.count(known_key(e, handheld[i])) && At(on_handheld, own[i]) > At(on_desktop, own[i])) {
      return true;
    }
  }
  return false;
}

}  // namespace kestro::property
