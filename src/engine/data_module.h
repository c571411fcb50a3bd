// The data module: the conduit component and the handheld table, created when
// the library loads and destroyed when it unloads, and the handlers bound to
// the component's events: the synchronisation run and the HotSync action
// choice. A run's lists and store belong to that run: each run releases them
// before it returns, on every path.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "base/component.h"
#include "conduit/palm_component.h"
#include "engine/item_list.h"
#include "engine/run_report.h"
#include "favorites/favorite_item.h"
#include "favorites/favorites_base.h"
#include "palmdb/remote_table.h"

namespace kestro {

// Set by the host for a preview: the run writes its plan there and changes
// nothing.
bool PreviewOnly();

class TDataModule1 : public Component {
 public:
  TDataModule1();
  ~TDataModule1() override;

  ThcdPalmComponent& hcdPalmComponent1() { return *component_; }
  ThcdPalmRemoteTable& hcdPalmRemoteTable1() { return *table_; }

  // OnExecConduit: one HotSync run of the sync type in props. Failures inside
  // the run become one activity-21 log entry; only a failed registration or
  // log write leaves as an exception.
  void hcdConduitExecute1ExecConduit(const ThcdSyncProperties& props);
  // OnConfigConduit: the HotSync action choice for the next HotSync.
  void hcdConduitConfigure1ConfigConduit(ThcdCfgConduitInfo& Data);
  // Builds Favorites for the configured browser (none for a type other than
  // 0 or 1). Failures raise through RaiseError with 3013.
  void CreateFavorites();
  TFavoritesBase* Favorites() const { return favorites_.get(); }

 private:
  void Synchronise(const std::string& recovery_path);
  void DesktopOverwritesHandheld(const std::string& recovery_path);
  TFavoritesBase& RequireStore();
  // Puts back records a failed run left in the recovery file.
  void RestorePending(const std::string& recovery_path);
  // After a failure: puts the handheld back when the run had emptied it.
  void RestoreAfterFailure(const std::string& recovery_path);
  void LogStoreNotices();
  // Loads the handheld's records from its database, which the caller found
  // there, and logs the ones that do not decode; as_written as LoadPdbList
  // sets it.
  void ReadHandheld(bool* as_written = nullptr);
  void LogDamagedRecords();
  void ReleaseRun();
  // The run's record (run_record.cpp): where it is kept, and, after a run on
  // the data, its summary in the HotSync log and its detail file.
  void BeginRunRecord(const ThcdSyncProperties& props);
  // handheld: the handheld's records after the run, kept with the backup.
  void FinishRunRecord(const RunReport& report, const std::function<FavoriteItemList()>& handheld);
  // Before the first desktop change: keeps what the plan changes there; and
  // puts back a backup the host asked for (KESTRO_RESTORE_BACKUP).
  void BackUpBefore(const RunReport& plan, int32_t browser_type);
  void RestoreAskedBackup(int32_t browser_type);
  // True when the host asked for a backup to be put back.
  bool RestoreAskedHandheld();
  // Progress for the host: a phase, or how many of the run's records are
  // written, as "phase: done/total".
  void ReportPhase(const std::string& phase);
  // The guard and the preview (run_plan.cpp): false when the run is to
  // change nothing; raises when the guard stops it.
  bool GoAhead(const RunReport& plan);

  std::unique_ptr<ThcdPalmComponent> component_;
  std::unique_ptr<ThcdPalmRemoteTable> table_;
  FavoriteItemList PdbList;
  std::vector<DamagedRecord> damaged_;  // records of the handheld that do not decode
  FavoriteItemList reglist;
  std::unique_ptr<TFavoritesBase> favorites_;
  bool handheld_at_risk_ = false;  // emptied since the recovery file was made
  // A damaged recovery file was set aside: what the handheld lost is not
  // known, so the run works as a first one, without the remembered desktop.
  bool merge_only_ = false;
  std::string conduit_folder_;     // the conduit's folder of the HotSync user
  std::string run_id_;
};

}  // namespace kestro
