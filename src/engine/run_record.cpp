// What a run on the data leaves behind for the user: the summary line in the
// HotSync log and the run's detail file in the conduit's folder.
#include "base/text.h"
#include "engine/data_module.h"
#include "engine/backups.h"
#include "engine/run_history.h"
#include "platform/environment.h"
#include "platform/file_system.h"
#include "settings/settings_registry.h"
#include "hostapi/hotsync_log.h"
#include "conduit/palm_component.h"

namespace kestro {

void TDataModule1::BeginRunRecord(const ThcdSyncProperties& props) {
  conduit_folder_ = std::string(FieldText(props.m_PathName, sizeof props.m_PathName));
  run_id_ = conduit_folder_.empty() ? std::string() : NewRunId(conduit_folder_);
}

void TDataModule1::FinishRunRecord(const RunReport& report, const std::function<FavoriteItemList()>& handheld) {
  const std::string prefix = CurrentConduitName() + " - ";
  AddConduitLogEntry(prefix + report.Summary(), hostapi::kActivityText);
  if (conduit_folder_.empty()) return;
  try {
    KeepRunDetail(conduit_folder_, run_id_, report);
    const std::string backup = BackupFolder(conduit_folder_, run_id_);
    if (!report.Empty() || platform::DirectoryExists(backup)) {
      KeepHandheldRecords(backup, handheld(), report, ReadBrowserType(), ReadFavoritesPath());
      PruneBackups(conduit_folder_, ReadBackupCount());
    }
  } catch (const std::exception& e) {
    // The run itself is done; only its record is missing.
    AddConduitLogEntry(prefix + MessageOf(e), hostapi::kActivityText);
  }
}

bool TDataModule1::RestoreAskedHandheld() {
  auto id = platform::GetEnv("KESTRO_RESTORE_BACKUP");
  if (!id || conduit_folder_.empty()) return false;
  // Records set aside as damaged stay where they are; the run then removes
  // the loaded records one by one, which the put-back ones are not yet.
  if (!damaged_.empty()) {
    AddConduitLogEntry(CurrentConduitName() + " - the handheld holds damaged records: the favourites of backup " +
                           *id + " were put back on the desktop only",
                       hostapi::kActivityText);
    return true;
  }
  const int added = MergeBackupRecords(PdbList, BackupFolder(conduit_folder_, *id));
  AddConduitLogEntry(CurrentConduitName() + " - " + std::to_string(added) + " favourites and folders of backup " + *id +
                         " that the handheld lacked were put back on it",
                     hostapi::kActivityText);
  return true;
}

void TDataModule1::ReportPhase(const std::string& phase) { component_->ReportProgress(phase); }

void TDataModule1::BackUpBefore(const RunReport& plan, int32_t browser_type) {
  if (conduit_folder_.empty() || !plan.ChangesDesktop()) return;
  ReportPhase("Backing up the desktop favourites");
  BackUpDesktop(BackupFolder(conduit_folder_, run_id_), browser_type, ReadFavoritesPath(), plan);
}

void TDataModule1::RestoreAskedBackup(int32_t browser_type) {
  auto id = platform::GetEnv("KESTRO_RESTORE_BACKUP");
  if (!id || conduit_folder_.empty()) return;
  RestoreDesktop(BackupFolder(conduit_folder_, *id), BackupFolder(conduit_folder_, run_id_), browser_type,
                 ReadFavoritesPath());
  AddConduitLogEntry(CurrentConduitName() + " - the desktop favourites of backup " + *id +
                         " were put back; what they replaced is in backup " + run_id_,
                     hostapi::kActivityText);
}

}  // namespace kestro
