// The table whose records live in one record database on the handheld,
// reached only through the Sync Manager (SyncManager()). It opens, creates,
// empties and deletes the database, walks its records by index, category or
// modified mark, reads by record ID, and writes, adds and deletes records.
// Guards raise EPalmDBError; failed host calls raise EPalmSyncError.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "hostapi/sync_manager.h"
#include "palmdb/modified_memory_stream.h"
#include "palmdb/palm_table.h"
#include "palmdb/record_layout.h"
#include "palmdb/table_options.h"

namespace kestro {

class ThcdPalmRemoteTable : public ThcdPalmTable {
 public:
  explicit ThcdPalmRemoteTable(Component* owner = nullptr);
  // Closes the database when open (writing the app-info block back) and
  // swallows any failure of that.
  ~ThcdPalmRemoteTable() override;

  // Properties. Changing the name, creator, type, version or options closes
  // the table first.
  const std::string& CreatorID() const { return creator_id_; }
  virtual void SetCreatorID(const std::string& id);  // ECreatorIDError if invalid
  const std::string& TableType() const { return table_type_; }
  virtual void SetTableType(const std::string& type);  // EPalmDBError 65289
  uint16_t Version() const { return version_; }
  virtual void SetVersion(uint16_t version);
  virtual ThcdPalmRemoteTableOptions GetOptions() const { return options_; }
  virtual void SetOptions(ThcdPalmRemoteTableOptions options);
  ThcdPalmRemoteTableOptions Options() const { return GetOptions(); }
  virtual int8_t GetCategoryFilter() const { return static_cast<int8_t>(category_filter_); }
  // -1 (every category) or 0 to 14; needs an open table not in edit mode,
  // and moves to the next record of the new filter.
  virtual void SetCategoryFilter(int8_t filter);
  int8_t CategoryFilter() const { return GetCategoryFilter(); }
  uint16_t CardNum() const { return card_num_; }
  void SetCardNum(uint16_t card) { card_num_ = card; }
  bool DbSaving() const { return db_saving_; }
  // While true, values may be set on a closed table; turning it on empties them.
  void SetDbSaving(bool saving);
  // Used only when creating the database; needs a closed table.
  virtual void SetTableAttributes(TableAttributes attributes);
  TableAttributes GetTableAttributes() const { return table_attributes_; }

  // After the properties are set the way a stored form would set them: an
  // empty CreatorID takes the process-wide DefaultCreatorID.
  void Loaded();

  // The database's application-information block: read at open, written
  // back at close when Modified.
  virtual ThcdModifiedMemoryStream& GetAppInfo() { return app_info_; }
  virtual void LoadAppInfo(const ThcdModifiedMemoryStream& stream);

  virtual void DeleteRecordId(uint32_t id);
  // Moves to the record with this ID: true when found; false (position 0,
  // no current record) when the handheld has none.
  virtual bool GotoRecordId(uint32_t id);
  virtual void PurgeDeleted();

  // The table operations.
  void FieldDefsChanged() override;
  Variant GetFieldValue(int index) const override;
  void SetFieldValue(int index, const Variant& value) override;
  uint8_t GetRecordAttributes() const override { return attributes_; }
  void SetRecordAttributes(uint8_t attributes) override { attributes_ = attributes; }
  uint32_t GetRecordId() const override { return record_id_; }
  void SetRecordId(uint32_t id) override { record_id_ = id; }
  int8_t GetRecordCategory() const override { return category_; }
  void SetRecordCategory(int8_t category) override { category_ = category; }
  bool IsRecordEmpty() const override { return is_record_empty_; }
  bool GetActive() const override { return handle_ != 0; }
  void SetActive(bool active) override;
  std::string GetTableName() const override { return table_name_; }
  void SetTableName(const std::string& name) override;
  ThcdPalmTableState GetState() const override { return state_; }
  int32_t RecordCount() override;
  int32_t GetRecNo() const override;
  void SetRecNo(int32_t position) override;
  bool Bof() const override;
  bool Eof() override;
  bool Exists() override;
  void EmptyTable() override;
  void CreateTable() override;
  void DeleteTable() override;
  void First() override;
  void Last() override;
  void Next() override;
  void Prior() override;  // not supported: ENotImplError "Prior"
  void Edit() override;
  void Insert() override;
  void Append() override { Insert(); }
  void Post() override;
  void Cancel() override;
  void Delete() override;

  // The current record's texts, one per field definition.
  const RecordValues& Values() const { return values_; }
  // Why the current record's bytes do not read as the field definitions;
  // empty when they do. Moving onto such a record works, so a walk can pass
  // it; reading, editing or posting its fields raises EPalmDBError with this
  // message, and nothing can write over it by accident.
  const std::string& DecodeFailure() const { return decode_failure_; }
  // The current record's size in bytes as the handheld holds it.
  uint32_t RecordSize() const { return record_size_; }

 private:
  void RequireOpen() const;
  void RequireClosed() const;
  void RequireNotEditing() const;
  void RequireEditing() const;
  void RequireWritable() const;
  void RequireRuntime() const;
  void RequireDecoded() const;

  void OpenDatabase();
  void CloseDatabase();
  void ReadAppInfo();
  void FetchNextRecord();
  void TakeRecord(const SyncRawRecord& record, const uint8_t* buffer);
  void WriteRecord();
  void DeleteRecordById(uint32_t id);
  void ClearValues();
  // No record is current: position rec_no, no ID, no attributes.
  void LeaveRecord(int32_t rec_no);
  uint8_t* ReadBuffer();

  std::string creator_id_;
  std::string table_name_;
  std::string table_type_ = "DATA";
  uint16_t version_ = 0x0100;
  uint8_t handle_ = 0;
  ThcdPalmRemoteTableOptions options_;
  ThcdModifiedMemoryStream app_info_;
  int32_t category_filter_ = -1;
  ThcdPalmTableState state_ = tsInactive;
  int32_t rec_no_ = -1;
  TableAttributes table_attributes_;
  uint8_t attributes_ = 0;
  uint32_t record_id_ = 0xFFFFFFFF;
  int8_t category_ = 0;
  RecordValues values_;
  bool is_record_empty_ = false;
  uint32_t record_size_ = 0;
  std::string decode_failure_;
  uint16_t card_num_ = 0;
  bool posted_ = false;
  bool db_saving_ = false;
  // One 65000-byte read buffer for the table's life, made on first use,
  // instead of one per read: a walk reads every record through it.
  std::vector<uint8_t> read_buffer_;
};

}  // namespace kestro
