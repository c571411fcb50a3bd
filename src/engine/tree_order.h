// The reconciliation walks the handheld's records as a depth-first tree: each
// folder followed by its contents, one Level deeper. Records that break that
// order (a Level that jumps, contents after a favourite) would end the walk
// early and never be written back. This unit puts each record where it sits:
// inside the nearest folder before it of a smaller Level, or at the top.
#pragma once

#include "favorites/favorite_item.h"

namespace kestro {

// Rewrites Levels so the list is depth-first; a list that already is stays
// unchanged. Returns the number of records whose Level changed.
int RepairTreeOrder(FavoriteItemList& items);

}  // namespace kestro
