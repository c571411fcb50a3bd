// The remote table's records: the walk (First, Next, SetRecNo, GotoRecordId),
// editing and posting, deleting, and the operations on the whole database
// (Exists, EmptyTable, CreateTable, DeleteTable).
#include <algorithm>
#include <cstring>

#include "base/exception.h"
#include "palmdb/conversions.h"
#include "palmdb/remote_table.h"
#include "palmdb/sync_errors.h"
#include "palmdb/sync_manager.h"
#include "palmdb/table_messages.h"

namespace kestro {

using hostapi::kMaxRecordSize;
using hostapi::kSyncErrNotFound;

namespace {

constexpr uint32_t kNoRecord = 0xFFFFFFFF;

}  // namespace

int32_t ThcdPalmRemoteTable::RecordCount() {
  RequireOpen();
  uint16_t count = 0;
  CheckSyncResult(SyncManager().SyncGetDBRecordCount(handle_, &count));
  return count;
}

int32_t ThcdPalmRemoteTable::GetRecNo() const {
  RequireOpen();
  return rec_no_;
}

bool ThcdPalmRemoteTable::Bof() const {
  RequireOpen();
  return rec_no_ == 0;
}

bool ThcdPalmRemoteTable::Eof() {
  RequireOpen();
  return rec_no_ >= RecordCount();
}

// ---- reading ------------------------------------------------------------------

void ThcdPalmRemoteTable::TakeRecord(const SyncRawRecord& record, const uint8_t* buffer) {
  // The record's marks are taken before its bytes are decoded, so that the
  // current record ID always names the record the values came from, even
  // when decoding fails: a Delete then can never hit the record before it.
  attributes_ = record.attributes;
  record_id_ = record.record_id;
  category_ = static_cast<int8_t>(record.category & 0xFF);
  record_size_ = record.record_size;
  decode_failure_.clear();
  try {
    // A size beyond the buffer means the host could not hand over the whole
    // record; reading a cut record and writing it back would lose its end.
    if (record.record_size > kMaxRecordSize) {
      throw EPalmDBError("The record is larger than the 65000-byte read buffer");
    }
    RemoteToLocalRecord(*this, options_, buffer, record.record_size, values_, is_record_empty_);
  } catch (const EPalmDBError& e) {
    // A damaged record is still a record of the walk: the failure is kept
    // and raised when its fields are used, so the records after it can be
    // reached.
    decode_failure_ = e.what();
    ClearValues();
    is_record_empty_ = false;
  }
}

void ThcdPalmRemoteTable::FetchNextRecord() {
  SyncRawRecord record{};
  record.handle = handle_;
  record.buffer_size = static_cast<uint16_t>(kMaxRecordSize);
  record.buffer = ReadBuffer();
  const auto& sync = SyncManager();
  int32_t result;
  if (category_filter_ == -1) {
    if (options_.Contains(opModified)) {
      record.category = 0;
      result = sync.SyncReadNextModifiedRec(&record);
    } else {
      record.index = static_cast<uint16_t>(rec_no_);
      result = sync.SyncReadRecordByIndex(&record);
    }
  } else {
    record.category = static_cast<int16_t>(category_filter_);
    result = options_.Contains(opModified) ? sync.SyncReadNextModifiedRecInCategory(&record)
                                           : sync.SyncReadNextRecInCategory(&record);
  }
  posted_ = false;
  if (result == kSyncErrNotFound) {
    // The end of the walk; the values are left as they were.
    LeaveRecord(RecordCount());
    category_ = static_cast<int8_t>(category_filter_ & 0xFF);
    return;
  }
  if (result != 0) RaiseSyncError(result);
  TakeRecord(record, record.buffer);
}

void ThcdPalmRemoteTable::SetRecNo(int32_t position) {
  RequireOpen();
  RequireNotEditing();
  DoBeforeRecChange();
  const int32_t count = RecordCount();
  if (position < 0 || position > count) RaisePalmDBError(kMsgRecordNumberNotFound, position);
  if (position == count) {
    // One past the last record is the end of the walk, as Last leaves it:
    // no record there to ask the handheld for.
    LeaveRecord(count);
    ClearValues();
    DoAfterRecChange();
    return;
  }
  rec_no_ = position;
  SyncRawRecord record{};
  record.handle = handle_;
  record.index = static_cast<uint16_t>(position);
  record.buffer_size = static_cast<uint16_t>(kMaxRecordSize);
  record.buffer = ReadBuffer();
  CheckSyncResult(SyncManager().SyncReadRecordByIndex(&record));
  TakeRecord(record, record.buffer);
  DoAfterRecChange();
}

void ThcdPalmRemoteTable::First() {
  RequireOpen();
  RequireNotEditing();
  DoBeforeRecChange();
  CheckSyncResult(SyncManager().SyncResetRecordIndex(handle_));
  rec_no_ = 0;
  FetchNextRecord();
  DoAfterRecChange();
}

void ThcdPalmRemoteTable::Next() {
  DoBeforeRecChange();
  // After a Post the record at this position is read again: an edited one
  // stays where it was, and a new one left the position at the end.
  if (!(posted_ && category_filter_ == -1)) ++rec_no_;
  FetchNextRecord();
  DoAfterRecChange();
}

void ThcdPalmRemoteTable::Last() {
  RequireOpen();
  RequireNotEditing();
  rec_no_ = RecordCount();
  ClearValues();
}

void ThcdPalmRemoteTable::Prior() { throw ENotImplError("Prior"); }

bool ThcdPalmRemoteTable::GotoRecordId(uint32_t id) {
  if (id == record_id_) return true;
  RequireOpen();
  RequireNotEditing();
  DoBeforeRecChange();
  SyncRawRecord record{};
  record.handle = handle_;
  record.record_id = id;
  record.buffer_size = static_cast<uint16_t>(kMaxRecordSize);
  record.buffer = ReadBuffer();
  int32_t result = SyncManager().SyncReadRecordById(&record);
  if (result == kSyncErrNotFound) {
    LeaveRecord(0);
    return false;
  }
  if (result != 0) RaiseSyncError(result);
  rec_no_ = record.index;
  TakeRecord(record, record.buffer);
  DoAfterRecChange();
  return true;
}

// ---- editing ----------------------------------------------------------------------

void ThcdPalmRemoteTable::Edit() {
  RequireOpen();
  RequireNotEditing();
  RequireDecoded();
  DoBeforeEdit();
  state_ = tsEdit;
  DoAfterEdit();
}

void ThcdPalmRemoteTable::Insert() {
  RequireOpen();
  RequireNotEditing();
  DoBeforeInsert();
  state_ = tsInsert;
  attributes_ = 0;
  decode_failure_.clear();
  ClearValues();
  DoAfterInsert();
}

void ThcdPalmRemoteTable::Post() {
  RequireOpen();
  RequireEditing();
  DoBeforePost();
  WriteRecord();
  posted_ = true;
  state_ = tsBrowse;
  DoAfterPost();
}

void ThcdPalmRemoteTable::WriteRecord() {
  // Packing fails on a value that does not read as its type, before
  // anything is sent; the state stays as it was for a retry or a Cancel.
  std::vector<uint8_t> bytes = LocalToRemoteRecord(*this, options_, values_);
  // The host block gives the size in 16 bits and the handheld holds no
  // larger record: a longer one would be sent cut short.
  if (bytes.size() > kMaxRecordSize) {
    throw EPalmDBError("The record is larger than 65000 bytes and cannot be written");
  }
  uint8_t none = 0;
  SyncRawRecord record{};
  record.handle = handle_;
  record.record_id = state_ == tsEdit ? record_id_ : 0;
  record.attributes = attributes_;
  record.category = category_ == -1 ? 0 : category_;
  record.record_size = static_cast<uint32_t>(bytes.size());
  record.buffer_size = static_cast<uint16_t>(bytes.size());
  record.buffer = bytes.empty() ? &none : bytes.data();
  CheckSyncResult(SyncManager().SyncWriteRec(&record));
  record_id_ = record.record_id;
  if (state_ == tsInsert) rec_no_ = RecordCount();
}

void ThcdPalmRemoteTable::Cancel() {
  RequireOpen();
  RequireEditing();
  DoBeforeCancel();
  state_ = tsBrowse;
  DoAfterCancel();
}

// ---- deleting -----------------------------------------------------------------------

void ThcdPalmRemoteTable::DeleteRecordById(uint32_t id) {
  DoBeforeDelete();
  SyncRawRecord record{};
  record.handle = handle_;
  record.record_id = id;
  CheckSyncResult(SyncManager().SyncDeleteRec(&record));
  DoAfterDelete();
}

void ThcdPalmRemoteTable::Delete() {
  RequireOpen();
  RequireNotEditing();
  if (record_id_ == 0 || record_id_ == kNoRecord) RaisePalmDBError(kMsgNoActiveRecord);
  DeleteRecordById(record_id_);
  FetchNextRecord();
}

void ThcdPalmRemoteTable::DeleteRecordId(uint32_t id) {
  if (id == record_id_) {
    Delete();
    return;
  }
  RequireOpen();
  RequireNotEditing();
  DeleteRecordById(id);
}

void ThcdPalmRemoteTable::PurgeDeleted() {
  RequireOpen();
  SyncManager().SyncPurgeDeletedRecs(handle_);  // result ignored
}

// ---- the whole database -------------------------------------------------------------

bool ThcdPalmRemoteTable::Exists() {
  if (GetActive()) return true;
  uint8_t handle = 0;
  int32_t result =
      SyncManager().SyncOpenDB(table_name_.c_str(), card_num_, &handle, hostapi::kOpenRead);
  if (result == 0) {
    SyncManager().SyncCloseDB(handle);  // result ignored
    return true;
  }
  if (result == kSyncErrNotFound) return false;
  RaiseSyncError(result);
}

void ThcdPalmRemoteTable::EmptyTable() {
  const auto& sync = SyncManager();
  if (GetActive()) {
    RequireNotEditing();
    CheckSyncResult(sync.SyncPurgeAllRecs(handle_));
    LeaveRecord(0);
    ClearValues();
    return;
  }
  uint8_t handle = 0;
  CheckSyncResult(sync.SyncOpenDB(table_name_.c_str(), card_num_, &handle,
                                  hostapi::kOpenRead | hostapi::kOpenWrite));
  // The handle opened for this operation is closed whether the purge
  // worked or not: a handle left open would keep the database busy.
  int32_t result = sync.SyncPurgeAllRecs(handle);
  sync.SyncCloseDB(handle);  // result ignored
  CheckSyncResult(result);
}

void ThcdPalmRemoteTable::CreateTable() {
  RequireClosed();
  DoBeforeTableCreate();
  SyncCreateDbBlock block{};
  block.creator = FourCharCodeToLong(creator_id_);
  block.flags = TableAttributeFlags(table_attributes_);
  block.card = static_cast<uint8_t>(card_num_ & 0xFF);
  // At most 31 characters, always followed by a NUL.
  std::memcpy(block.name, table_name_.data(),
              std::min<std::size_t>(table_name_.size(), sizeof(block.name) - 1));
  block.type = FourCharCodeToLong(table_type_);
  block.version = version_;
  CheckSyncResult(SyncManager().SyncCreateDB(&block));
  handle_ = block.handle;
  DoAfterTableCreate();
  state_ = tsBrowse;
  LeaveRecord(rec_no_);
  ClearValues();
}

void ThcdPalmRemoteTable::DeleteTable() {
  RequireClosed();
  CheckSyncResult(SyncManager().SyncDeleteDB(table_name_.c_str(), card_num_));
}

}  // namespace kestro
