// A seeded scenario of the property test: its sizes drawn from the seed, the
// desktop tree it starts from, and random edits between runs, on the handheld
// through the Status flags as a handheld application sets them, on the
// desktop as a browser's user makes them. The same seed and sizes give the
// same scenario on every platform.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "property/names.h"
#include "property/prng.h"
#include "property/tree.h"

namespace kestro::property {

struct ScenarioSize {
  int items = 0;  // entries of the starting desktop
  int depth = 0;  // levels of folders and favourites, 1 to 5
  int edits = 0;  // at most this many edits on each side
};

// How a bookmark file is laid out: as browsers export it today, in the lower
// case of old files, or with folder headings before any list at the top.
enum class BookmarkStyle { kExport = 0, kLowerCase = 1, kNoTopList = 2 };

struct Scenario {
  uint64_t seed = 0;
  Store store = Store::kFavoritesFolder;
  BookmarkStyle style = BookmarkStyle::kExport;
  ScenarioSize size;
  uint64_t stream = 0;  // seeds the trees and edits, drawn after the sizes
};

// Sizes are drawn from the seed (200-2,000 items, 1-5 levels, edits that
// grow with the tree); each non-zero field of `fixed` replaces its draw.
Scenario MakeScenario(uint64_t seed, Store store, const ScenarioSize& fixed);
std::string ShowScenario(const Scenario& scenario);

// A desktop of `items` entries that its store can hold, repeated names and
// same-named siblings included (where the store allows them).
Tree GenerateDesktop(Prng& rng, const Scenario& scenario);

// Up to `size.edits` random edits, applied in place; one readable line each.
std::vector<std::string> EditHandheld(Prng& rng, const Scenario& scenario, Tree& handheld);
std::vector<std::string> EditDesktop(Prng& rng, const Scenario& scenario, Tree& desktop);

}  // namespace kestro::property
