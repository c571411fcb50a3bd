// The abstract table: a record source with field definitions, field
// accessors, a read-only flag, a state, a position and twenty notifications.
// It owns its FieldDefs and Fields. The remote table gives every abstract
// operation its body; the record layout calls OnReadField and OnWriteField.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "base/component.h"
#include "palmdb/field_defs.h"
#include "palmdb/fields.h"
#include "palmdb/variant.h"

namespace kestro {

enum ThcdPalmTableState : uint8_t { tsInactive, tsBrowse, tsEdit, tsInsert };

class ThcdPalmTable;

using ThcdPalmTableEvent = std::function<void(ThcdPalmTable& Sender)>;
// Decodes field FieldIndex of the record at pData (DataSize bytes) from
// DataPos, leaving DataPos on the next field and the value in Data. Raising
// EAbort hands the field back to the built-in decoding.
using ThcdPalmReadFieldEvent =
    std::function<void(ThcdPalmTable& Sender, const uint8_t* pData, int32_t DataSize,
                       int32_t FieldIndex, uint32_t& DataPos, std::string& Data)>;
// Gives the bytes of field FieldIndex as a byte-array variant in Data.
// Raising EAbort hands the field back to the built-in encoding.
using ThcdPalmWriteFieldEvent =
    std::function<void(ThcdPalmTable& Sender, int32_t FieldIndex, Variant& Data)>;

class ThcdPalmTable : public Component {
 public:
  explicit ThcdPalmTable(Component* owner = nullptr);
  ~ThcdPalmTable() override;

  ThcdPalmFieldDefs& FieldDefs() { return *field_defs_; }
  const ThcdPalmFieldDefs& FieldDefs() const { return *field_defs_; }
  // Copies the other collection's definitions.
  void SetFieldDefs(const ThcdPalmFieldDefs& defs) { field_defs_->Assign(defs); }
  ThcdPalmFields& Fields() { return *fields_; }

  bool ReadOnly() const { return GetReadOnly(); }
  std::string TableName() const { return GetTableName(); }
  bool Active() const { return GetActive(); }
  ThcdPalmTableState State() const { return GetState(); }
  int32_t RecNo() const { return GetRecNo(); }

  virtual void FieldDefsChanged() {}
  virtual Variant GetFieldValue(int index) const = 0;
  virtual void SetFieldValue(int index, const Variant& value) = 0;
  virtual uint8_t GetRecordAttributes() const = 0;
  virtual void SetRecordAttributes(uint8_t attributes) = 0;
  virtual uint32_t GetRecordId() const = 0;
  virtual void SetRecordId(uint32_t id) = 0;
  virtual int8_t GetRecordCategory() const = 0;
  virtual void SetRecordCategory(int8_t category) = 0;
  virtual bool IsRecordEmpty() const = 0;
  virtual bool GetActive() const = 0;
  virtual void SetActive(bool active) = 0;
  virtual std::string GetTableName() const = 0;
  virtual void SetTableName(const std::string& name) = 0;
  virtual bool GetReadOnly() const { return read_only_; }
  virtual void SetReadOnly(bool value) { read_only_ = value; }
  virtual ThcdPalmTableState GetState() const = 0;
  virtual int32_t RecordCount() = 0;
  virtual int32_t GetRecNo() const = 0;
  virtual void SetRecNo(int32_t position) = 0;
  virtual bool Bof() const = 0;
  virtual bool Eof() = 0;
  virtual void Open() { SetActive(true); }
  virtual void Close() { SetActive(false); }
  // The first accessor whose definition's name matches, A-Z folded; none
  // when no name matches.
  virtual ThcdPalmField* FindField(const std::string& name);
  // FindField, or EPalmDBError 65267 naming the field.
  virtual ThcdPalmField& FieldByName(const std::string& name);
  virtual bool Exists() { return false; }
  virtual void EmptyTable() = 0;
  virtual void CreateTable() = 0;
  virtual void DeleteTable() = 0;
  virtual void First() = 0;
  virtual void Last() = 0;
  virtual void Next() = 0;
  virtual void Prior() = 0;
  virtual void Edit() = 0;
  virtual void Insert() = 0;
  virtual void Append() = 0;
  virtual void Post() = 0;
  virtual void Cancel() = 0;
  virtual void Delete() = 0;

  ThcdPalmTableEvent OnBeforeClose, OnAfterClose, OnBeforeOpen, OnAfterOpen;
  ThcdPalmTableEvent OnBeforeRecChange, OnAfterRecChange, OnBeforeEdit, OnAfterEdit;
  ThcdPalmTableEvent OnBeforeInsert, OnAfterInsert, OnBeforePost, OnAfterPost;
  ThcdPalmTableEvent OnBeforeCancel, OnAfterCancel, OnBeforeDelete, OnAfterDelete;
  ThcdPalmTableEvent OnBeforeTableCreate, OnAfterTableCreate;
  ThcdPalmReadFieldEvent OnReadField;
  ThcdPalmWriteFieldEvent OnWriteField;

 protected:
  // One dispatch per notification: calls the handler when one is set.
  virtual void DoBeforeClose() { Notify(OnBeforeClose); }
  virtual void DoAfterClose() { Notify(OnAfterClose); }
  virtual void DoBeforeOpen() { Notify(OnBeforeOpen); }
  virtual void DoAfterOpen() { Notify(OnAfterOpen); }
  virtual void DoBeforeRecChange() { Notify(OnBeforeRecChange); }
  virtual void DoAfterRecChange() { Notify(OnAfterRecChange); }
  virtual void DoBeforeEdit() { Notify(OnBeforeEdit); }
  virtual void DoAfterEdit() { Notify(OnAfterEdit); }
  virtual void DoBeforeInsert() { Notify(OnBeforeInsert); }
  virtual void DoAfterInsert() { Notify(OnAfterInsert); }
  virtual void DoBeforePost() { Notify(OnBeforePost); }
  virtual void DoAfterPost() { Notify(OnAfterPost); }
  virtual void DoBeforeCancel() { Notify(OnBeforeCancel); }
  virtual void DoAfterCancel() { Notify(OnAfterCancel); }
  virtual void DoBeforeDelete() { Notify(OnBeforeDelete); }
  virtual void DoAfterDelete() { Notify(OnAfterDelete); }
  virtual void DoBeforeTableCreate() { Notify(OnBeforeTableCreate); }
  virtual void DoAfterTableCreate() { Notify(OnAfterTableCreate); }
  virtual void DoReadField(const uint8_t* data, int32_t size, int32_t index, uint32_t& pos,
                           std::string& value) {
    if (OnReadField) OnReadField(*this, data, size, index, pos, value);
  }
  virtual void DoWriteField(int32_t index, Variant& value) {
    if (OnWriteField) OnWriteField(*this, index, value);
  }

 private:
  void Notify(const ThcdPalmTableEvent& handler) {
    if (handler) handler(*this);
  }

  std::unique_ptr<ThcdPalmFieldDefs> field_defs_;
  std::unique_ptr<ThcdPalmFields> fields_;
  bool read_only_ = false;
};

}  // namespace kestro
