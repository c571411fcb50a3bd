// What a run on the data leaves behind for the user: the summary line in the
// HotSync log and the run's detail file in the conduit's folder.
#include "base/text.h"
#include "engine/data_module.h"
#include "engine/run_history.h"
#include "hostapi/hotsync_log.h"
#include "conduit/palm_component.h"

namespace kestro {

void TDataModule1::BeginRunRecord(const ThcdSyncProperties& props) {
  conduit_folder_ = std::string(FieldText(props.m_PathName, sizeof props.m_PathName));
  run_id_ = conduit_folder_.empty() ? std::string() : NewRunId(conduit_folder_);
}

void TDataModule1::FinishRunRecord(const RunReport& report) {
  const std::string prefix = CurrentConduitName() + " - ";
  AddConduitLogEntry(prefix + report.Summary(), hostapi::kActivityText);
  if (conduit_folder_.empty()) return;
  try {
    KeepRunDetail(conduit_folder_, run_id_, report);
  } catch (const std::exception& e) {
    // The run itself is done; only its record is missing.
    AddConduitLogEntry(prefix + MessageOf(e), hostapi::kActivityText);
  }
}

}  // namespace kestro
