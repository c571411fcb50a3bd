// What a run would do, found before it does anything: the run's own steps
// against stand-ins, a copy of the handheld's records, the desktop store with
// its writes held, and a handheld that takes records without keeping them.
// The mass-deletion guard and the preview read the plan; the real run then
// runs for real. Failures raise as the run's would.
#pragma once

#include <string>

#include "engine/run_report.h"
#include "engine/state_file.h"
#include "favorites/favorite_item.h"
#include "favorites/favorites_base.h"

namespace kestro {

// preview_store: the desktop store, loaded afresh, that this puts in preview;
// its notices are left in it. as_loaded, when given, tells whether the run
// would write back exactly the handheld's records as loaded.
RunReport PreviewSynchronise(const FavoriteItemList& handheld, const StateIndex& state,
                             TFavoritesBase& preview_store, bool* as_loaded = nullptr);

// Empty when the plan may go ahead; else why not, with the counts and how
// to allow it. A side loses too much when the run would delete at least 20
// of its favourites and more than limit_percent of them.
std::string MassDeletionProblem(const RunReport& plan, int limit_percent);

}  // namespace kestro
