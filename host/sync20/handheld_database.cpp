#include "handheld_database.h"

#include <random>
#include <unordered_set>

#include "host_switches.h"
#include "hostapi/sync_manager.h"
#include "platform/file_system.h"

namespace kestro::host {
namespace {

// With KESTRO_HANDHELD_FSYNC=1 every change is also flushed to the disk
// before the call returns, which survives a power cut and not only a killed
// process, at the cost of one disk flush per change.
bool FlushEveryChange() { return Switches().flush_every_change; }

// Gives every record a unique, non-zero ID: files written by some tools
// carry 0 or repeat IDs.
void RepairIds(PdbDatabase& db) {
  std::unordered_set<uint32_t> seen;
  bool needs = false;
  for (const PdbRecord& r : db.records) {
    if (r.id == 0 || !seen.insert(r.id).second) needs = true;
  }
  if (!needs) return;
  seen.clear();
  for (PdbRecord& r : db.records) {
    if (r.id != 0 && seen.insert(r.id).second) continue;
    r.id = 0;
  }
  for (PdbRecord& r : db.records) {
    if (r.id != 0) continue;
    do {
      db.unique_id_seed = (db.unique_id_seed + 1) & kMaxUniqueId;
      if (db.unique_id_seed < 0x2000) db.unique_id_seed = 0x2000;
    } while (seen.count(db.unique_id_seed));
    r.id = db.unique_id_seed;
    seen.insert(r.id);
  }
}

}  // namespace

std::string JournalPathOf(const std::string& pdb_path) { return pdb_path + "-journal"; }

int32_t HandheldDatabase::Open(const std::string& pdb_path, std::unique_ptr<HandheldDatabase>& out,
                               std::string* why) {
  std::string image;
  if (!platform::FileExists(pdb_path)) return hostapi::kSyncErrNotFound;
  if (!platform::ReadWholeFile(pdb_path, image)) return kErrGeneral;
  std::string reason;
  auto db = ParsePdb(image, &reason);
  if (!db) {
    if (why) *why = reason;
    return kErrCannotOpen;
  }
  std::unique_ptr<HandheldDatabase> opened(new HandheldDatabase);
  opened->path_ = pdb_path;
  opened->db_ = std::move(*db);
  opened->base_image_ = std::move(image);
  // IDs are repaired before a journal is replayed: its changes were made to
  // the repaired records (repairing is the same every time for one file).
  RepairIds(opened->db_);
  opened->index_.Rebuild(opened->db_.records);
  const std::string journal_path = JournalPathOf(pdb_path);
  std::string journal;
  if (platform::ReadWholeFile(journal_path, journal)) {
    if (auto changes = ReadJournal(journal, opened->base_image_)) {
      for (Change& c : *changes) ApplyChange(opened->db_, opened->index_, std::move(c));
      opened->dirty_ = !changes->empty();
    }
  }
  // A journal left behind is folded now; a stale one is simply removed.
  if (opened->dirty_) {
    if (opened->Fold() != 0) {
      // Read-only media: keep the replayed contents in memory, leave the files.
      opened->dirty_ = false;
    }
  } else {
    if (platform::FileExists(journal_path)) platform::DeleteFileAt(journal_path);
    opened->as_read_ = true;
  }
  out = std::move(opened);
  return 0;
}

int32_t HandheldDatabase::Create(const std::string& pdb_path, const PdbDatabase& header,
                                 std::unique_ptr<HandheldDatabase>& out) {
  std::unique_ptr<HandheldDatabase> created(new HandheldDatabase);
  created->path_ = pdb_path;
  created->db_ = header;
  created->db_.records.clear();
  if (created->db_.unique_id_seed == 0) {
    // As on the device, IDs start from a random upper part, never 0 or 1.
    std::random_device rd;
    created->db_.unique_id_seed = (2 + rd() % 0xFFE) << 12;
  }
  created->base_image_ = SerializePdb(created->db_);
  platform::DeleteFileAt(JournalPathOf(pdb_path));
  if (!platform::WriteFileAtomically(pdb_path, created->base_image_)) return kErrGeneral;
  out = std::move(created);
  return 0;
}

HandheldDatabase::~HandheldDatabase() { Fold(); }

int HandheldDatabase::FindIndex(uint32_t id) const { return index_.Find(id); }

uint32_t HandheldDatabase::FreshId() const {
  // The seed only grows, so the next value is almost always free; once it
  // has wrapped round, it moves on past the IDs in use.
  auto next = [](uint32_t s) { return s + 1 > kMaxUniqueId || s + 1 < 0x2000 ? 0x2000u : s + 1; };
  uint32_t seed = db_.unique_id_seed;
  for (uint32_t tries = 0; tries <= kMaxUniqueId; ++tries) {
    seed = next(seed);
    if (FindIndex(seed) < 0) return seed;
  }
  return 0;
}

int32_t HandheldDatabase::Record(Change change) {
  if (!journal_.IsOpen()) {
    if (!journal_.Open(JournalPathOf(path_), true) ||
        !journal_.Append(JournalHeader(base_image_))) {
      journal_.Close();
      return kErrGeneral;
    }
  }
  if (!journal_.Append(EncodeChange(change))) return kErrGeneral;
  if (FlushEveryChange() && !journal_.Sync()) return kErrGeneral;
  ApplyChange(db_, index_, std::move(change));
  dirty_ = true;
  as_read_ = false;
  return 0;
}

int32_t HandheldDatabase::WriteRecord(uint32_t& id, uint8_t attributes, std::string_view data) {
  if (data.size() > hostapi::kMaxRecordSize) return kErrTooLarge;
  if (id > kMaxUniqueId) return kErrParameter;
  Change change;
  change.kind = Change::kWrite;
  change.attributes = attributes;
  change.data = std::string(data);
  change.seed = db_.unique_id_seed;
  if (id == 0) {
    if (db_.records.size() >= 0xFFFF) return kErrFull;
    uint32_t fresh = FreshId();
    if (fresh == 0) return kErrFull;
    change.id = fresh;
    change.seed = fresh;
  } else {
    if (FindIndex(id) < 0 && db_.records.size() >= 0xFFFF) return kErrFull;
    change.id = id;
  }
  const uint32_t written = change.id;
  int32_t result = Record(std::move(change));
  if (result == 0) id = written;
  return result;
}

int32_t HandheldDatabase::DeleteRecord(uint32_t id) {
  if (FindIndex(id) < 0) return hostapi::kSyncErrNotFound;
  Change change;
  change.kind = Change::kDelete;
  change.id = id;
  return Record(change);
}

int32_t HandheldDatabase::PurgeAll() {
  Change change;
  change.kind = Change::kPurgeAll;
  return Record(change);
}

int32_t HandheldDatabase::PurgeDeleted() {
  Change change;
  change.kind = Change::kPurgeDeleted;
  return Record(change);
}

int32_t HandheldDatabase::SetAppInfo(std::string_view block) {
  Change change;
  change.kind = Change::kAppInfo;
  change.data = std::string(block);
  return Record(change);
}

int32_t HandheldDatabase::Fold() {
  if (!dirty_) return 0;
  PdbDatabase next = db_;
  next.modification_number = db_.modification_number + 1;
  next.modification_date = HandheldNow();
  std::string image = SerializePdb(next);
  if (!platform::WriteFileAtomically(path_, image)) return kErrGeneral;
  db_ = std::move(next);
  base_image_ = std::move(image);
  journal_.Close();
  platform::DeleteFileAt(JournalPathOf(path_));
  dirty_ = false;
  return 0;
}

bool HandheldDatabase::StillMatchesFile() const {
  if (!as_read_ || platform::FileExists(JournalPathOf(path_))) return false;
  std::string image;
  return platform::FileExists(path_) && platform::ReadWholeFile(path_, image) && image == base_image_;
}

}  // namespace kestro::host
