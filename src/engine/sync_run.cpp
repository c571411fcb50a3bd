// The synchronisation run: what each sync type does, the HotSync log entries
// around it, and the protection of the handheld's records while a synchronise
// or desktop-overwrites-handheld run has the database emptied.
#include <string>

#include "base/text.h"
#include "conduit/palm_component.h"
#include "engine/data_module.h"
#include "engine/item_list.h"
#include "engine/backups.h"
#include "engine/reconciliation.h"
#include "engine/run_preview.h"
#include "engine/run_recorder.h"
#include "engine/recovery_file.h"
#include "engine/state_file.h"
#include "engine/tree_order.h"
#include "engine/store_factory.h"
#include "favorites/kestro_error.h"
#include "hostapi/hotsync_log.h"
#include "palmdb/sync_errors.h"
#include "palmdb/sync_manager.h"
#include "settings/settings_registry.h"

namespace kestro {
namespace {

using hostapi::kActivitySyncAborted;
using hostapi::kActivitySyncFinished;
using hostapi::kActivitySyncStarted;
using hostapi::kActivityText;

void LogText(const std::string& text) { AddConduitLogEntry(CurrentConduitName() + " - " + text, kActivityText); }

bool RunsOnTheData(int32_t sync_type) {
  return sync_type == hostapi::kSyncSynchronize || sync_type == hostapi::kSyncHandheldOverwritesDesktop ||
         sync_type == hostapi::kSyncDesktopOverwritesHandheld;
}

std::string UserNameOf(const ThcdSyncProperties& props) {
  return std::string(FieldText(props.m_UserName, sizeof props.m_UserName));
}

}  // namespace

void TDataModule1::hcdConduitExecute1ExecConduit(const ThcdSyncProperties& props) {
  const int32_t sync_type = props.m_SyncType;
  uint32_t handle = 0;
  if (sync_type != hostapi::kSyncDoNothing) {
    CheckSyncResult(SyncManager().SyncRegisterConduit(&handle));
    AddConduitLogEntry("", kActivitySyncStarted);
  }
  const std::string recovery_path = RecoveryFilePath(UserNameOf(props));
  BeginRunRecord(props);
  try {
    switch (sync_type) {
      case hostapi::kSyncSynchronize:
        Synchronise(recovery_path);
        break;
      case hostapi::kSyncHandheldOverwritesDesktop:
        RestorePending(recovery_path);
        CreateFavorites();
        break;
      case hostapi::kSyncDesktopOverwritesHandheld:
        DesktopOverwritesHandheld(recovery_path);
        break;
      case hostapi::kSyncDoNothing:
        AddConduitLogEntry(CurrentConduitName() + " - conduit configured to Do Nothing", kActivityText);
        break;
      default:
        break;
    }
  } catch (const std::exception& e) {
    if (!RunsOnTheData(sync_type)) {
      ReleaseRun();
      throw;
    }
    std::string message = MessageOf(e);
    RestoreAfterFailure(recovery_path);
    ReleaseRun();
    AddConduitLogEntry(CurrentConduitName() + " - " + message, kActivitySyncAborted);
    SyncManager().SyncUnRegisterConduit(handle);
    return;
  }
  ReleaseRun();
  if (sync_type != hostapi::kSyncDoNothing) {
    AddConduitLogEntry(CurrentConduitName(), kActivitySyncFinished);
    SyncManager().SyncUnRegisterConduit(handle);
  }
}

void TDataModule1::CreateFavorites() {
  try {
    favorites_.reset();
    std::string location = ReadFavoritesPath();
    if (location.empty()) throw Exception("Favorites path missing. Check settings.");
    favorites_ = MakeFavoritesStore(ReadBrowserType(), location);
  } catch (const std::exception& e) {
    RaiseError(MessageOf(e), "3013");
  }
}

TFavoritesBase& TDataModule1::RequireStore() {
  // With no browser chosen there is nothing to reconcile with; the handheld
  // is left exactly as it is rather than emptied or overwritten.
  if (!favorites_) {
    throw Exception(Format("No browser is selected in the settings (browser type %d); the handheld was left as it was",
                           ReadBrowserType()));
  }
  return *favorites_;
}

void TDataModule1::Synchronise(const std::string& recovery_path) {
  RestorePending(recovery_path);
  const int32_t browser_type = ReadBrowserType();
  if (!PreviewOnly()) RestoreAskedBackup(browser_type);
  ReportPhase("Reading the desktop favourites");
  CreateFavorites();
  RequireStore();
  ThcdPalmRemoteTable& table = *table_;
  const bool preview = PreviewOnly();
  const bool on_handheld = table.Exists();
  if (!on_handheld && !preview) table.CreateTable();
  // Read-only until the plan is allowed, so that a preview or a stopped run
  // leaves the database file as it was.
  ReportPhase("Reading the handheld");
  bool handheld_as_written = true;  // a database just made holds nothing
  if (on_handheld) ReadHandheld(&handheld_as_written);
  const bool restoring = !preview && RestoreAskedHandheld();
  // Everything that can be wrong on the desktop is found before the handheld
  // is touched: the store is loaded, and the state file is looked through
  // once (indexed and compared with the store, never held or made into items).
  StateScan state_scan = ScanStateFile(browser_type, RequireStore());
  // After a damaged recovery file nothing may read as deleted: the run
  // merges as if no state were kept.
  if (merge_only_) state_scan = StateScan();
  const StateIndex& state = state_scan.index;
  const bool state_current = state_scan.matches_store;
  // The run is first made against stand-ins, so that the guard and the
  // preview know what it would change before anything changes.
  ReportPhase("Planning");
  bool writes_back_as_loaded = false;
  const RunReport plan = PreviewSynchronise(PdbList, state, RequireStore(), &writes_back_as_loaded);
  if (!GoAhead(plan)) return;
  const std::string total = std::to_string(plan.Handheld().entries_after);
  // A run that would write back exactly what the handheld holds, into a
  // desktop and a state file it leaves as they are, is done: emptying and
  // refilling the handheld would only give its records new IDs. It goes
  // through the same phases, and logs what the store refused, as a run that
  // writes.
  if (writes_back_as_loaded && handheld_as_written && damaged_.empty() && !restoring && state_current &&
      !RequireStore().Changed()) {
    ReportPhase("Synchronising: 0/" + total);
    LogStoreNotices();
    ReportPhase("Saving the state");
    FinishRunRecord(plan, [&] { return CopyItems(PdbList); });
    return;
  }
  BackUpBefore(plan, browser_type);
  CreateFavorites();
  TFavoritesBase& store = RequireStore();
  table.Open();
  SaveRecovery(recovery_path, PdbList);
  handheld_at_risk_ = true;
  RemoveLoadedRecords(table, PdbList, !damaged_.empty());

  RepairTreeOrder(PdbList);
  TableRecordWriter writer(table);
  ReportPhase("Synchronising: 0/" + total);
  RunRecorder recorder(PdbList, store, &writer,
                       [&](int written) { ReportPhase("Synchronising: " + std::to_string(written) + "/" + total); });
  // The desktop edits of the whole run reach the disk together, and before
  // the handheld's records are final: a run stopped before then leaves the
  // recovery file, whose records still carry their edit marks, so the next
  // run makes the same edits again.
  store.HoldWrites();
  Reconciliation(PdbList, store, state, recorder.Writer()).Run();
  store.WriteHeld();
  table.Close();
  handheld_at_risk_ = false;
  RemoveRecovery(recovery_path);
  LogStoreNotices();
  const RunReport report = recorder.Report();

  ReportPhase("Saving the state");
  // A store the run did not change, with a state file that already holds
  // it, would be read again only to write the same bytes.
  if (store.Changed() || !state_current) {
    CreateFavorites();
    SaveList(RequireStore(), browser_type);
  }
  FinishRunRecord(report, [&] { return recorder.Recording().WrittenRecords(); });
}

void TDataModule1::DesktopOverwritesHandheld(const std::string& recovery_path) {
  RestorePending(recovery_path);
  CreateFavorites();
  TFavoritesBase& store = RequireStore();
  const int32_t browser_type = ReadBrowserType();
  ThcdPalmRemoteTable& table = *table_;
  const bool on_handheld = table.Exists();
  if (on_handheld) ReadHandheld();
  if (!GoAhead(OverwriteReport(PdbList, store))) return;
  if (on_handheld) {
    SaveRecovery(recovery_path, PdbList);
    handheld_at_risk_ = true;
  }
  OverwriteHandheld(table, store, PdbList, !damaged_.empty());
  handheld_at_risk_ = false;
  RemoveRecovery(recovery_path);
  SaveList(store, browser_type);
  FinishRunRecord(OverwriteReport(PdbList, store), [&] { return RecordsOf(store); });
}

void TDataModule1::RestorePending(const std::string& recovery_path) {
  if (!RecoveryPending(recovery_path)) return;
  if (PreviewOnly()) {
    throw Exception("An earlier HotSync left the handheld's records to put back; run a HotSync before a preview");
  }
  FavoriteItemList records;
  try {
    records = LoadRecovery(recovery_path);
  } catch (const ERecoveryDamaged& e) {
    // What the handheld lost is not known: nothing is put back or removed,
    // and this run does not take a record missing on one side for a
    // deletion, so nothing is deleted on either side either.
    merge_only_ = true;
    std::string aside = SetRecoveryAside(recovery_path);
    LogText("the recovery file \"" + recovery_path + "\" kept since an earlier HotSync failed is damaged (" +
            MessageOf(e) + "); nothing was put back or removed, " +
            (aside.empty() ? std::string("the file could not be renamed") : "the file was kept as \"" + aside + "\"") +
            ", and this HotSync deletes no favourite on either side");
    if (aside.empty()) throw;
    return;
  }
  RestoreOutcome restored = RestoreHandheld(*table_, recovery_path, records);
  RemoveRecovery(recovery_path);
  LogText("the handheld's " + std::to_string(records.size()) +
          " favourites and folders, kept since an earlier HotSync failed, were put back" +
          (restored.later_work > 0
               ? "; " + std::to_string(restored.later_work) + " added or changed on the handheld since were kept"
               : std::string()));
}

void TDataModule1::RestoreAfterFailure(const std::string& recovery_path) {
  try {
    if (table_->Active()) table_->Close();
  } catch (...) {
    // The handle is dropped whatever the close answered.
  }
  // Before the handheld was emptied there is nothing to put back; a copy an
  // earlier run left stays for the next run.
  if (!handheld_at_risk_) return;
  handheld_at_risk_ = false;
  try {
    FavoriteItemList records = LoadRecovery(recovery_path);
    RestoreHandheld(*table_, recovery_path, records);
    RemoveRecovery(recovery_path);
    LogText("the handheld's " + std::to_string(records.size()) +
            " favourites and folders were put back as they were before this HotSync");
  } catch (const std::exception& e) {
    try {
      if (table_->Active()) table_->Close();
    } catch (...) {
    }
    LogText("the handheld's favourites could not be put back (" + MessageOf(e) +
            "); a copy is kept on the desktop and the next HotSync puts them back first");
  }
}

void TDataModule1::ReadHandheld(bool* as_written) {
  ThcdPalmRemoteTable& table = *table_;
  table.SetReadOnly(true);
  table.Open();
  PdbList = LoadPdbList(table, damaged_, as_written);
  table.Close();
  table.SetReadOnly(false);
  LogDamagedRecords();
}

void TDataModule1::LogStoreNotices() {
  if (!favorites_) return;
  for (const std::string& notice : favorites_->TakeNotices()) LogText(notice);
}

void TDataModule1::LogDamagedRecords() {
  for (const DamagedRecord& record : damaged_) {
    LogText(Format("the handheld record with ID %u does not read as a favourite (%s); it was left on the handheld as it "
                   "is and not synchronised",
                   record.id, record.reason.c_str()));
  }
}

void TDataModule1::ReleaseRun() {
  PdbList.clear();
  damaged_.clear();
  merge_only_ = false;
  reglist.clear();
  favorites_.reset();
  handheld_at_risk_ = false;
}

}  // namespace kestro
