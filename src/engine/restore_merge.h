// What a restore from the recovery file writes back when the handheld has been
// used since the failed run. The records the failed run wrote itself carry no
// edit mark, so they can go: the next run derives them again from the saved
// records. A record with an edit mark (new, changed or deleted) is the user's
// later work, or a record the failed run never reached; it is kept, with its
// fields and marks, in its place among the saved records, so a restore never
// undoes what was done on the handheld in between.
#pragma once

#include "favorites/favorite_item.h"

namespace kestro {

struct MergedRestore {
  FavoriteItemList records;  // depth-first, each Parent a RecID of the list or 0
  int later_work = 0;        // handheld records kept that the saved list lacked or had otherwise
  bool differs = false;      // records differ from the saved ones
};

// The saved records with the marked records of `current` (the handheld as it
// is now, in record order) put in:
// - a record with a saved record's ID is that record, edited since: it takes
//   the saved record's place;
// - a record equal to a saved one in folder, name, address and marks is that
//   record, written again by an earlier restore that was cut short;
// - a record changed or deleted since, that the failed run had written under
//   a new ID, takes the place of the saved record of its folder and name;
// - any other goes at the end of its folder, found by its folder names; a
//   folder the saved records lack comes along with it.
MergedRestore MergeLaterWork(const FavoriteItemList& saved, const FavoriteItemList& current);

}  // namespace kestro
