#include "sync_session.h"

#include <cstring>

#include "base/text.h"
#include "handheld_folder.h"
#include "host_paths.h"
#include "platform/file_system.h"

namespace kestro::host {
namespace {

constexpr std::size_t kMaxOpen = 32;
constexpr int32_t kNotFound = hostapi::kSyncErrNotFound;

// The database name as given; false when it is null, empty or too long.
bool DatabaseName(const char* name, std::string& out) {
  if (!name) return false;
  std::size_t length = strnlen(name, 32);
  if (length == 0 || length > 31) return false;
  out.assign(name, length);
  return true;
}

// Fills a raw record from a stored one. A record whose delete mark hides its
// data is reported deleted; one that keeps its data is reported archived.
int32_t FillRecord(SyncRawRecord* out, const PdbRecord& r, std::size_t index) {
  uint8_t attributes = r.attributes & (kRecDelete | kRecDirty | kRecSecret);
  if ((r.attributes & kRecDelete) && !r.data.empty()) attributes |= 0x08;
  out->record_id = r.id;
  out->index = static_cast<uint16_t>(index);
  out->attributes = attributes;
  out->category = static_cast<int16_t>(r.attributes & kRecCategoryMask);
  out->record_size = static_cast<uint32_t>(r.data.size());
  if (r.data.empty()) return 0;
  if (!out->buffer) return kErrParameter;
  if (out->buffer_size < r.data.size()) return kErrTooLarge;
  std::memcpy(out->buffer, r.data.data(), r.data.size());
  return 0;
}

}  // namespace

Session& Session::Get() {
  static Session session;
  return session;
}

Session::OpenDatabase* Session::Find(uint8_t handle) {
  auto it = open_.find(handle);
  return it == open_.end() ? nullptr : &it->second;
}

int32_t Session::Writable(uint8_t handle, OpenDatabase*& open) {
  open = Find(handle);
  if (!open) return kErrBadHandle;
  return open->writable ? 0 : kErrReadOnly;
}

bool Session::IsOpen(const std::string& path) const {
  for (const auto& [handle, open] : open_) {
    if (open.db->Path() == path) return true;
  }
  return false;
}

int32_t Session::AddHandle(std::unique_ptr<HandheldDatabase> db, bool writable, uint8_t* handle) {
  for (unsigned h = 1; h <= 255; ++h) {
    if (open_.count(static_cast<uint8_t>(h))) continue;
    open_[static_cast<uint8_t>(h)] = OpenDatabase{std::move(db), writable, 0};
    *handle = static_cast<uint8_t>(h);
    return 0;
  }
  return kErrTooManyOpen;
}

int32_t Session::OpenDB(const char* name, int32_t card, uint8_t* handle, uint8_t mode) {
  std::string db_name;
  if (!DatabaseName(name, db_name) || !handle || card < 0) return kErrParameter;
  auto path = FindDatabaseFile(HandheldFolder(), db_name);
  if (!path) return kNotFound;
  if (IsOpen(*path)) return hostapi::kSyncErrAlreadyOpen;
  if (open_.size() >= kMaxOpen) return kErrTooManyOpen;
  std::unique_ptr<HandheldDatabase> db = TakeUnchanged(*path);
  const bool reused = db != nullptr;
  if (!reused) {
    if (int32_t result = HandheldDatabase::Open(*path, db)) return result;
  }
  int32_t result = AddHandle(std::move(db), (mode & hostapi::kOpenWrite) != 0, handle);
  if (result == 0) open_[*handle].reused = reused;
  return result;
}

std::unique_ptr<HandheldDatabase> Session::TakeUnchanged(const std::string& path) {
  std::unique_ptr<HandheldDatabase> kept = std::move(last_closed_);
  if (kept && kept->Path() == path && kept->StillMatchesFile()) return kept;
  return nullptr;
}

int32_t Session::CloseDB(uint8_t handle) {
  OpenDatabase* open = Find(handle);
  if (!open) return kErrBadHandle;
  int32_t result = open->db->Fold();
  last_closed_.reset();
  if (result == 0 && !open->reused && open->db->UnchangedSinceRead()) last_closed_ = std::move(open->db);
  open_.erase(handle);
  return result;
}

int32_t Session::CreateDB(SyncCreateDbBlock* block) {
  if (!block) return kErrParameter;
  if (strnlen(block->name, sizeof block->name) >= sizeof block->name) return kErrParameter;
  std::string db_name;
  if (!DatabaseName(block->name, db_name)) return kErrParameter;
  if (block->flags & kDbResource) return kErrNotSupported;
  if (block->flags > 0xFFFF) return kErrParameter;
  const std::string folder = HandheldFolder();
  if (FindDatabaseFile(folder, db_name)) return kErrExists;
  if (open_.size() >= kMaxOpen) return kErrTooManyOpen;
  if (!platform::DirectoryExists(folder) && !platform::CreateDirectories(folder)) return kErrGeneral;
  PdbDatabase header;
  header.name = db_name;
  header.attributes = static_cast<uint16_t>(block->flags & ~kDbOpen);
  header.version = block->version;
  header.type = block->type;
  header.creator = block->creator;
  header.creation_date = header.modification_date = HandheldNow();
  std::unique_ptr<HandheldDatabase> db;
  if (int32_t result = HandheldDatabase::Create(NewDatabasePath(folder, db_name), header, db)) return result;
  return AddHandle(std::move(db), true, &block->handle);
}

int32_t Session::DeleteDB(const char* name, int32_t card) {
  std::string db_name;
  if (!DatabaseName(name, db_name) || card < 0) return kErrParameter;
  auto path = FindDatabaseFile(HandheldFolder(), db_name);
  if (!path) return kNotFound;
  if (IsOpen(*path)) return hostapi::kSyncErrAlreadyOpen;
  if (!platform::DeleteFileAt(*path)) return kErrGeneral;
  platform::DeleteFileAt(JournalPathOf(*path));
  return 0;
}

int32_t Session::RecordCount(uint8_t handle, uint16_t* count) {
  OpenDatabase* open = Find(handle);
  if (!open) return kErrBadHandle;
  if (!count) return kErrParameter;
  *count = static_cast<uint16_t>(open->db->Contents().records.size());
  return 0;
}

int32_t Session::ReadByIndex(SyncRawRecord* record) {
  if (!record) return kErrParameter;
  OpenDatabase* open = Find(record->handle);
  if (!open) return kErrBadHandle;
  const auto& records = open->db->Contents().records;
  if (record->index >= records.size()) return kNotFound;
  return FillRecord(record, records[record->index], record->index);
}

int32_t Session::ReadById(SyncRawRecord* record) {
  if (!record) return kErrParameter;
  OpenDatabase* open = Find(record->handle);
  if (!open) return kErrBadHandle;
  int index = open->db->FindIndex(record->record_id);
  if (record->record_id == 0 || index < 0) return kNotFound;
  return FillRecord(record, open->db->Contents().records[index], static_cast<std::size_t>(index));
}

int32_t Session::ReadNext(SyncRawRecord* record, bool modified_only, bool in_category) {
  if (!record) return kErrParameter;
  OpenDatabase* open = Find(record->handle);
  if (!open) return kErrBadHandle;
  if (in_category && (record->category < 0 || record->category > 15)) return kErrParameter;
  const auto& records = open->db->Contents().records;
  for (std::size_t i = open->cursor; i < records.size(); ++i) {
    const PdbRecord& r = records[i];
    if (modified_only && !(r.attributes & kRecDirty)) continue;
    if (in_category && (r.attributes & kRecCategoryMask) != record->category) continue;
    int32_t result = FillRecord(record, r, i);
    // A record too large for the buffer stays next in line.
    if (result == 0) open->cursor = i + 1;
    return result;
  }
  open->cursor = records.size();
  return kNotFound;
}

int32_t Session::ReadNextInCategory(SyncRawRecord* record) { return ReadNext(record, false, true); }
int32_t Session::ReadNextModified(SyncRawRecord* record) { return ReadNext(record, true, false); }
int32_t Session::ReadNextModifiedInCategory(SyncRawRecord* record) { return ReadNext(record, true, true); }

int32_t Session::WriteRec(SyncRawRecord* record) {
  if (!record) return kErrParameter;
  OpenDatabase* open = nullptr;
  if (int32_t result = Writable(record->handle, open)) return result;
  if (record->record_size > hostapi::kMaxRecordSize) return kErrTooLarge;
  if (record->record_size > 0 && !record->buffer) return kErrParameter;
  if (record->category < 0 || record->category > 15) return kErrParameter;
  // Only the flags a desktop may set are kept; "archived" is the delete mark
  // on a record that keeps its data.
  uint8_t stored = record->attributes & (kRecDelete | kRecDirty | kRecSecret);
  if (record->attributes & 0x08) stored |= kRecDelete;
  stored |= static_cast<uint8_t>(record->category);
  std::string_view data(reinterpret_cast<const char*>(record->buffer), record->record_size);
  uint32_t id = record->record_id;
  int32_t result = open->db->WriteRecord(id, stored, data);
  if (result != 0) return result;
  record->record_id = id;
  record->index = static_cast<uint16_t>(open->db->FindIndex(id));
  return 0;
}

int32_t Session::DeleteRec(SyncRawRecord* record) {
  if (!record) return kErrParameter;
  OpenDatabase* open = nullptr;
  if (int32_t result = Writable(record->handle, open)) return result;
  return open->db->DeleteRecord(record->record_id);
}

int32_t Session::PurgeAll(uint8_t handle) {
  OpenDatabase* open = nullptr;
  if (int32_t result = Writable(handle, open)) return result;
  open->cursor = 0;
  return open->db->PurgeAll();
}

int32_t Session::PurgeDeleted(uint8_t handle) {
  OpenDatabase* open = nullptr;
  if (int32_t result = Writable(handle, open)) return result;
  open->cursor = 0;
  return open->db->PurgeDeleted();
}

int32_t Session::ResetRecordIndex(uint8_t handle) {
  OpenDatabase* open = Find(handle);
  if (!open) return kErrBadHandle;
  open->cursor = 0;
  return 0;
}

int32_t Session::ReadAppInfo(uint8_t handle, SyncDbInfoBlock* info) {
  OpenDatabase* open = Find(handle);
  if (!open) return kErrBadHandle;
  if (!info) return kErrParameter;
  const std::string& block = open->db->Contents().app_info;
  info->bytes_read = 0;
  if (block.empty()) return kNotFound;
  if (!info->buffer) return kErrParameter;
  if (block.size() > info->total_bytes) return kErrTooLarge;
  std::memcpy(info->buffer, block.data(), block.size());
  info->bytes_read = static_cast<uint16_t>(block.size());
  return 0;
}

int32_t Session::WriteAppInfo(uint8_t handle, SyncDbInfoBlock* info) {
  OpenDatabase* open = nullptr;
  if (int32_t result = Writable(handle, open)) return result;
  if (!info || (info->total_bytes > 0 && !info->buffer)) return kErrParameter;
  return open->db->SetAppInfo(std::string_view(reinterpret_cast<const char*>(info->buffer), info->total_bytes));
}

int32_t Session::RegisterConduit(uint32_t* handle) {
  if (!handle) return kErrParameter;
  *handle = next_conduit_++;
  conduits_.insert(*handle);
  return 0;
}

int32_t Session::UnRegisterConduit(uint32_t handle) {
  // 16406: the Sync Manager has no conduit registered under this handle.
  return conduits_.erase(handle) ? 0 : 16406;
}

void Session::CloseAll() {
  for (auto& [handle, open] : open_) open.db->Fold();
  open_.clear();
  last_closed_.reset();
}

}  // namespace kestro::host
