#include "engine/run_preview.h"

#include "base/text.h"
#include "engine/reconciliation.h"
#include "engine/rewrite_check.h"
#include "engine/run_recorder.h"
#include "engine/state_file.h"
#include "engine/tree_order.h"

namespace kestro {
namespace {

constexpr int kMassDeletionFloor = 20;

}  // namespace

RunReport PreviewSynchronise(const FavoriteItemList& handheld, const StateIndex& state,
                             TFavoritesBase& preview_store, bool* as_loaded) {
  preview_store.Preview();
  FavoriteItemList copy = CopyItems(handheld);
  RepairTreeOrder(copy);
  RewriteCheck check(handheld);
  RunRecorder recorder(copy, preview_store, &check);
  Reconciliation(copy, preview_store, state, recorder.Writer()).Run();
  if (as_loaded) *as_loaded = check.WritesBackAsLoaded();
  return recorder.Report();
}

std::string MassDeletionProblem(const RunReport& plan, int limit_percent) {
  if (limit_percent >= 100) return std::string();
  for (const auto& [name, side] : {std::pair<const char*, const SideCounts*>{"handheld", &plan.Handheld()},
                                   {"desktop", &plan.Desktop()}}) {
    const long long deleted = side->favorites_deleted;
    if (deleted < kMassDeletionFloor || deleted * 100 <= static_cast<long long>(limit_percent) * side->favorites_before)
      continue;
    return Format(
        "this HotSync would delete %lld of the %s's %d favourites, more than %d%%, and was stopped before it "
        "changed anything. If that is what you want, run hotsync sync --allow-mass-deletion once, or set "
        "MassDeletionLimit (100 switches this check off)",
        deleted, name, side->favorites_before, limit_percent);
  }
  return std::string();
}

}  // namespace kestro
