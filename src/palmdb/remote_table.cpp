// Properties, guards, values, the app-info block and opening and closing of
// the remote table. The walk and the record edits are in
// remote_table_records.cpp.
#include "palmdb/remote_table.h"

#include <algorithm>
#include <cmath>

#include "base/exception.h"
#include "palmdb/conversions.h"
#include "palmdb/default_creator_id.h"
#include "palmdb/field_codec.h"
#include "palmdb/sync_errors.h"
#include "palmdb/sync_manager.h"
#include "palmdb/table_messages.h"

namespace kestro {

using hostapi::kMaxRecordSize;

ThcdPalmRemoteTable::ThcdPalmRemoteTable(Component* owner) : ThcdPalmTable(owner) {
  if (Designing()) creator_id_ = DefaultCreatorID();
}

ThcdPalmRemoteTable::~ThcdPalmRemoteTable() {
  if (!GetActive()) return;
  try {
    CloseDatabase();
  } catch (...) {
    // Destruction must not fail; the handle is dropped either way.
  }
}

void ThcdPalmRemoteTable::Loaded() {
  if (creator_id_.empty()) creator_id_ = DefaultCreatorID();
}

// ---- guards -----------------------------------------------------------------

void ThcdPalmRemoteTable::RequireOpen() const {
  if (!GetActive()) RaisePalmDBError(kMsgTableMustBeOpen);
}

void ThcdPalmRemoteTable::RequireClosed() const {
  if (GetActive()) RaisePalmDBError(kMsgTableMustBeClosed);
}

void ThcdPalmRemoteTable::RequireNotEditing() const {
  if (state_ == tsEdit || state_ == tsInsert) RaisePalmDBError(kMsgInEditMode);
}

void ThcdPalmRemoteTable::RequireEditing() const {
  if (state_ != tsEdit && state_ != tsInsert) throw EPalmDBError(kMsgNotEditing);
}

void ThcdPalmRemoteTable::RequireWritable() const {
  if (ReadOnly()) RaisePalmDBError(kMsgReadOnly);
}

void ThcdPalmRemoteTable::RequireRuntime() const {
  if (Designing()) RaisePalmDBError(kMsgRuntimeOnly);
}

// ---- properties ---------------------------------------------------------------

void ThcdPalmRemoteTable::SetTableName(const std::string& name) {
  if (name == table_name_) return;
  Close();
  table_name_ = name;
}

void ThcdPalmRemoteTable::SetCreatorID(const std::string& id) {
  if (id == creator_id_) return;
  Close();
  FourCharCodeToLong(id);  // raises ECreatorIDError; nothing stored
  creator_id_ = id;
}

void ThcdPalmRemoteTable::SetTableType(const std::string& type) {
  if (type == table_type_) return;
  Close();
  if (!IsValidFourCharCode(type)) RaisePalmDBError(kMsgInvalidTableType, type);
  table_type_ = type;
}

void ThcdPalmRemoteTable::SetVersion(uint16_t version) {
  if (version == version_) return;
  Close();
  version_ = version;
}

void ThcdPalmRemoteTable::SetOptions(ThcdPalmRemoteTableOptions options) {
  if (options == options_) return;
  Close();
  options_ = options;
}

void ThcdPalmRemoteTable::SetCategoryFilter(int8_t filter) {
  if (filter == category_filter_) return;
  RequireOpen();
  RequireNotEditing();
  if (filter < -1 || filter > 14) RaisePalmDBError(kMsgInvalidCategory, filter);
  category_filter_ = filter;
  DoBeforeRecChange();
  FetchNextRecord();
  DoAfterRecChange();
}

void ThcdPalmRemoteTable::SetDbSaving(bool saving) {
  db_saving_ = saving;
  if (saving) ClearValues();
}

void ThcdPalmRemoteTable::SetTableAttributes(TableAttributes attributes) {
  RequireClosed();
  table_attributes_ = attributes;
}

// ---- values -------------------------------------------------------------------

void ThcdPalmRemoteTable::ClearValues() {
  values_.assign(static_cast<std::size_t>(FieldDefs().Count()), {});
}

void ThcdPalmRemoteTable::LeaveRecord(int32_t rec_no) {
  rec_no_ = rec_no;
  attributes_ = 0;
  record_id_ = 0;
  record_size_ = 0;
  decode_failure_.clear();
}

void ThcdPalmRemoteTable::RequireDecoded() const {
  if (!decode_failure_.empty()) throw EPalmDBError(decode_failure_);
}

void ThcdPalmRemoteTable::FieldDefsChanged() {
  Fields().Rebuild(FieldDefs().Count());
  // The values always hold one text per definition; the old ones belonged
  // to another layout.
  ClearValues();
}

Variant ThcdPalmRemoteTable::GetFieldValue(int index) const {
  RequireOpen();
  RequireDecoded();
  const ThcdPalmFieldType type = FieldDefs().GetItem(index).DataType();
  const std::string text =
      static_cast<std::size_t>(index) < values_.size() ? values_[index] : std::string();
  switch (type) {
    case ptByte:
    case ptWord:
    case ptLong:
      return Variant::Integer(ParseIntegerText(text, INT32_MIN, INT32_MAX));
    case ptString:
    case ptInt64:
      return Variant::Text(text);
    case ptSingle:
      return Variant::Float(
          text.empty() ? 0.0 : static_cast<double>(static_cast<float>(TextToFloat(text))));
    case ptDouble:
      return Variant::Float(text.empty() ? 0.0 : TextToFloat(text));
    case ptDate:
      return text.empty() ? Variant::Text({})
                          : Variant::DateTime(TextToDateTime(text), DateTimeForm::kDate);
    case ptTime:
      return text.empty() ? Variant::Text({})
                          : Variant::DateTime(TextToTime(text), DateTimeForm::kTime);
    case ptDateTime:
      return text.empty() ? Variant::Text({}) : Variant::DateTime(TextToDateTime(text));
    case ptCustom:
      return Variant::Bytes(std::vector<uint8_t>(text.begin(), text.end()));
  }
  return Variant::Text(text);
}

void ThcdPalmRemoteTable::SetFieldValue(int index, const Variant& value) {
  if (!db_saving_) RequireOpen();
  RequireWritable();
  FieldDefs().GetItem(index);  // range check
  if (values_.size() < static_cast<std::size_t>(FieldDefs().Count()))
    values_.resize(FieldDefs().Count());
  values_[static_cast<std::size_t>(index)] = value.ToText();
}

// ---- app-info block -------------------------------------------------------------

void ThcdPalmRemoteTable::LoadAppInfo(const ThcdModifiedMemoryStream& stream) {
  RequireOpen();
  RequireWritable();
  // The host block carries sizes of 16 bits: a larger block could not be
  // written back whole.
  if (stream.Size() > kMaxRecordSize) {
    throw EPalmDBError("The application information block is larger than 65000 bytes");
  }
  app_info_.Clear();
  app_info_.LoadFromStream(stream);
}

void ThcdPalmRemoteTable::ReadAppInfo() {
  SyncDbInfoBlock info{};
  info.total_bytes = static_cast<uint16_t>(kMaxRecordSize);
  info.buffer = ReadBuffer();
  int32_t result = SyncManager().SyncReadDBAppInfoBlock(handle_, &info);
  std::size_t bytes = result == 0 ? std::min<std::size_t>(info.bytes_read, kMaxRecordSize) : 0;
  app_info_.Clear();
  app_info_.Write(info.buffer, bytes);  // sets Modified, so Close writes it back
}

// ---- open and close ---------------------------------------------------------------

void ThcdPalmRemoteTable::SetActive(bool active) {
  if (active == GetActive()) return;
  RequireRuntime();
  if (active) {
    DoBeforeOpen();
    OpenDatabase();
    state_ = tsBrowse;
    DoAfterOpen();
  } else {
    DoBeforeClose();
    CloseDatabase();
    state_ = tsInactive;
    DoAfterClose();
  }
}

void ThcdPalmRemoteTable::OpenDatabase() {
  uint8_t mode = hostapi::kOpenRead;
  if (!ReadOnly()) mode |= hostapi::kOpenWrite;
  if (options_.Contains(opShowSecret)) mode |= hostapi::kOpenShowSecret;
  uint8_t handle = 0;
  int32_t result = SyncManager().SyncOpenDB(table_name_.c_str(), card_num_, &handle, mode);
  if (result != 0) RaiseSyncError(result);
  handle_ = handle;
  ReadAppInfo();
  ClearValues();
  rec_no_ = 0;
  FetchNextRecord();
}

void ThcdPalmRemoteTable::CloseDatabase() {
  // A handle opened for reading only refuses the write, so none is made.
  if (!ReadOnly() && app_info_.Modified() && app_info_.Size() <= kMaxRecordSize) {
    SyncDbInfoBlock info{};
    info.total_bytes = static_cast<uint16_t>(app_info_.Size());
    info.bytes_read = static_cast<uint16_t>(app_info_.Size());
    info.buffer = const_cast<uint8_t*>(app_info_.Memory());
    SyncManager().SyncWriteDBAppInfoBlock(handle_, &info);  // result ignored
  }
  uint8_t handle = handle_;
  handle_ = 0;
  int32_t result = SyncManager().SyncCloseDB(handle);
  if (result != 0) RaiseSyncError(result);
}

uint8_t* ThcdPalmRemoteTable::ReadBuffer() {
  if (read_buffer_.empty()) read_buffer_.resize(kMaxRecordSize);
  return read_buffer_.data();
}

}  // namespace kestro
