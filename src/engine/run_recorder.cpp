#include "engine/run_recorder.h"

namespace kestro {

int32_t RecordingWriter::WriteNewRecord(const FavoriteItem& item, int32_t parent, uint8_t status) {
  const int32_t id = inner_ ? inner_->WriteNewRecord(item, parent, status) : ++next_id_;
  auto folder = folder_paths_.find(parent);
  std::shared_ptr<const FolderPath> path = folder == folder_paths_.end() ? nullptr : folder->second;
  if (!item.isUrl) folder_paths_[id] = SubfolderPath(path, item.NameText());
  written_.push_back({std::move(path), std::string(item.NameText()),
                      item.isUrl ? std::string(item.URLText()) : std::string(), item.isUrl != 0});
  records_.push_back({id, parent, item.Level, status});
  if (progress_ && written_.size() % RunRecorder::kProgressStep == 0) progress_(static_cast<int>(written_.size()));
  return id;
}

FavoriteItemList RecordingWriter::WrittenRecords() const {
  FavoriteItemList records;
  records.reserve(records_.size());
  for (std::size_t i = 0; i < records_.size(); ++i) {
    auto item = NewFavoriteItem();
    item->SetName(written_[i].title);
    item->SetURL(written_[i].url);
    item->RecID = records_[i].id;
    item->Parent = records_[i].parent;
    item->Level = records_[i].level;
    item->SetFlagsFromStatus(records_[i].status);
    records.push_back(std::move(item));
  }
  return records;
}

RunRecorder::RunRecorder(const FavoriteItemList& handheld, const TFavoritesBase& desktop,
                         HandheldRecordWriter* inner, WriteProgress progress)
    : desktop_(desktop),
      handheld_before_(EntriesOf(handheld, /*skip_deleted=*/true)),
      desktop_before_(EntriesOf(desktop.Entries(), /*skip_deleted=*/false)),
      writer_(inner, std::move(progress)) {}

RunReport RunRecorder::Report() const {
  RunReport report;
  report.AddSide("handheld", handheld_before_, writer_.Written());
  // A store that was never edited still holds what it loaded: its entries
  // are the ones taken before the run, and listing them again would only
  // copy every title and address once more.
  if (desktop_.Changed()) {
    report.AddSide("desktop", desktop_before_, EntriesOf(desktop_.Entries(), /*skip_deleted=*/false));
  } else {
    report.AddSide("desktop", desktop_before_, desktop_before_);
  }
  return report;
}

RunReport OverwriteReport(const FavoriteItemList& handheld, const TFavoritesBase& store) {
  RunReport report;
  report.AddSide("handheld", EntriesOf(handheld, /*skip_deleted=*/true), EntriesOf(store.Entries(), false));
  report.AddSide("desktop", {}, {});
  return report;
}

}  // namespace kestro
