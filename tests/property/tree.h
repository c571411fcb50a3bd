// One side's favourites as the property test sees them: entries in
// depth-first order, each with its nesting level, kind, name and address, and
// on the handheld its Status flags. Keys name an entry across the two sides the
// way the conduit compares them: by folder path, kind and name, letters A-Z
// folded and names cut to the bytes a record keeps.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/conduit_harness.h"

namespace kestro::property {

struct Entry {
  int level = 0;
  bool folder = false;
  std::string name;
  std::string url;  // a handheld folder renamed since the last run: its former name
  uint8_t status = 0;
  // The test's own mark: the entry of the last run's tree this one was, kept
  // through the edits (-1 for one added since), so that a check can tell
  // same-named siblings apart where keys cannot.
  int origin = -1;
};
using Tree = std::vector<Entry>;

Entry Favorite(int level, std::string name, std::string url);
Entry Folder(int level, std::string name);

// One past the last entry inside the entry at `at` (its own index + 1 for a favourite).
std::size_t SubtreeEnd(const Tree& tree, std::size_t at);
bool Live(const Entry& e);  // not marked deleted on the handheld

// The key of every entry: "F"/"L", then each enclosing folder's name and the
// entry's own, folded and cut, separated by a byte no name holds.
std::vector<std::string> PlaceKeys(const Tree& tree);
// A favourite's place and its address (cut as a record keeps it).
std::string FavoriteKey(const std::string& place_key, const Entry& e);
// A key made readable: "\A\b" for a favourite b in the folder A.
std::string ShowKey(const std::string& key);

// One line per entry, indented by level, with names and addresses quoted
// (control bytes escaped) and the handheld flags that are set.
std::string Describe(const Tree& tree);

Tree FromHandheld(const std::vector<testing::HandheldRecord>& records);
std::vector<testing::HandheldRecord> ToHandheld(const Tree& tree);

}  // namespace kestro::property
