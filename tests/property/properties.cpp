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

std::string Times(int n) { return n == 1 ? "once" : std::to_string(n) + " times"; }

}  // namespace

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
  // Afterwards, by place (an address may have changed on the other side).
  Counts after_places;
  for (const Tree* tree : {&run.handheld_after, &run.desktop_after}) {
    Counts here;
    for (const std::string& place : PlaceKeys(*tree)) ++here[place];
    for (const auto& [place, n] : here) after_places[place] = std::max(At(after_places, place), n);
  }
  std::vector<std::string> lost;
  std::set<std::string> seen;
  for (const std::string& place : PlaceKeys(run.last)) {
    if (!seen.insert(place).second) continue;
    if (At(kept_handheld, place) == 0 && At(kept_desktop, place) == 0) continue;
    const int protect = std::min(At(held_handheld, place), At(held_desktop, place));
    if (At(after_places, place) < protect) {
      lost.push_back("lost: " + ShowKey(place) + " was held " + Times(protect) +
                     " on both sides, kept unchanged on " +
                     (At(kept_handheld, place) ? "the handheld" : "the desktop") + ", and is now " +
                     Times(At(after_places, place)) + " on its fullest side");
    }
  }
  return lost;
}

std::vector<std::string> FavoritesInForeignFolders(const RunOutcome& run) {
  const Counts before_handheld = Count(run.handheld_before, false, true);
  const Counts before_desktop = Count(run.desktop_before, false, true);
  std::vector<std::string> foreign;
  EachFavoriteAfter(run, [&](const std::string& side, const std::string& key, int) {
    if (At(before_handheld, key) == 0 && At(before_desktop, key) == 0) {
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
  const std::vector<std::string> last = PlaceKeys(run.last), desktop = PlaceKeys(run.desktop_before),
                                 handheld = PlaceKeys(run.handheld_before);
  const std::set<std::string> had(last.begin(), last.end()), has(desktop.begin(), desktop.end());
  for (std::size_t i = 0; i < run.handheld_before.size(); ++i) {
    const Entry& e = run.handheld_before[i];
    if (!e.folder && Live(e) && (e.status & testing::kModified) && had.count(handheld[i]) &&
        !has.count(handheld[i])) {
      return true;
    }
  }
  return false;
}

}  // namespace kestro::property
