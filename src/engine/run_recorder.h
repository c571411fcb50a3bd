// Watches one reconciliation: the handheld's and the desktop's entries as the
// run found them, and every record the run writes to the handheld (through
// the real writer, or, for a preview, to no handheld at all), so that the
// run's report can be told afterwards. Also reports the writing's progress.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/record_writer.h"
#include "engine/run_report.h"
#include "favorites/favorites_base.h"

namespace kestro {

// Called with the records written so far, every few hundred records.
using WriteProgress = std::function<void(int written)>;

class RecordingWriter : public HandheldRecordWriter {
 public:
  // inner null: nothing is written; each record gets an ID of its own.
  explicit RecordingWriter(HandheldRecordWriter* inner, WriteProgress progress = {})
      : inner_(inner), progress_(std::move(progress)) {}
  int32_t WriteNewRecord(const FavoriteItem& item, int32_t parent, uint8_t status) override;

  const TreeEntries& Written() const { return written_; }
  // The records as written, each with its ID, Parent and Status byte.
  FavoriteItemList WrittenRecords() const;

 private:
  struct Record {
    int32_t id, parent, level;
    uint8_t status;
  };
  HandheldRecordWriter* inner_;
  WriteProgress progress_;
  int32_t next_id_ = 0;
  std::unordered_map<int32_t, std::shared_ptr<const FolderPath>> folder_paths_;  // folder record ID -> its path
  TreeEntries written_;
  std::vector<Record> records_;
};

class RunRecorder {
 public:
  static constexpr int kProgressStep = 250;
  // Takes the entries of both sides as they are now: call it just before the
  // reconciliation runs.
  RunRecorder(const FavoriteItemList& handheld, const TFavoritesBase& desktop, HandheldRecordWriter* inner,
              WriteProgress progress = {});
  HandheldRecordWriter& Writer() { return writer_; }
  const RecordingWriter& Recording() const { return writer_; }
  RunReport Report() const;

 private:
  const TFavoritesBase& desktop_;
  TreeEntries handheld_before_, desktop_before_;
  RecordingWriter writer_;
};

// The report of a desktop-overwrites-handheld run: the handheld's records
// become the store's entries; the desktop does not change.
RunReport OverwriteReport(const FavoriteItemList& handheld, const TFavoritesBase& store);

}  // namespace kestro
