#include "palmdb/field_defs.h"

#include "base/text.h"
#include "palmdb/palm_table.h"
#include "palmdb/sync_errors.h"
#include "palmdb/table_messages.h"

namespace kestro {

void ThcdPalmFieldDef::SetFieldName(const std::string& name) {
  if (name == field_name_) return;
  field_name_ = name;
  Changed();
}

void ThcdPalmFieldDef::SetDataType(ThcdPalmFieldType type) {
  if (type == data_type_) return;
  data_type_ = type;
  Changed();
}

void ThcdPalmFieldDef::SetSize(int32_t size) {
  if (size == size_) return;
  size_ = size;
  Changed();
}

std::string ThcdPalmFieldDef::DisplayName() const {
  if (!field_name_.empty()) return field_name_;
  return Format("ThcdPalmFieldDef%d", Index());
}

void ThcdPalmFieldDef::Assign(const ThcdPalmFieldDef& other) {
  if (&other == this) return;
  collection_->BeginUpdate();
  SetDataType(other.data_type_);
  SetSize(other.size_);
  SetFieldName(other.field_name_);
  collection_->EndUpdate();
}

int ThcdPalmFieldDef::Index() const {
  for (int i = 0; i < collection_->Count(); ++i) {
    if (&collection_->GetItem(i) == this) return i;
  }
  return -1;
}

int32_t ThcdPalmFieldDef::Width() const {
  int w = FieldTypeWidth(data_type_);
  return w < 0 ? size_ : w;
}

void ThcdPalmFieldDef::Changed() { collection_->Update(); }

ThcdPalmFieldDefs::ThcdPalmFieldDefs(ThcdPalmTable* table) : table_(table) {
  if (table == nullptr) RaisePalmDBError(kMsgFieldDefsWithoutTable);
}

ThcdPalmFieldDefs::~ThcdPalmFieldDefs() = default;

ThcdPalmFieldDef& ThcdPalmFieldDefs::GetItem(int index) const {
  if (index < 0 || index >= Count()) {
    throw EPalmDBError(Format("List index out of bounds (%d)", index));
  }
  return *items_[static_cast<std::size_t>(index)];
}

void ThcdPalmFieldDefs::SetItem(int index, const ThcdPalmFieldDef& value) {
  GetItem(index).Assign(value);
}

ThcdPalmFieldDef& ThcdPalmFieldDefs::Add() {
  items_.push_back(std::make_unique<ThcdPalmFieldDef>(this));
  Update();
  return *items_.back();
}

ThcdPalmFieldDef& ThcdPalmFieldDefs::Add(const std::string& name, ThcdPalmFieldType type,
                                         int32_t size) {
  BeginUpdate();
  ThcdPalmFieldDef& def = Add();
  def.SetFieldName(name);
  def.SetDataType(type);
  def.SetSize(size);
  EndUpdate();
  return def;
}

void ThcdPalmFieldDefs::Delete(int index) {
  GetItem(index);  // range check
  items_.erase(items_.begin() + index);
  Update();
}

void ThcdPalmFieldDefs::Clear() {
  if (items_.empty()) return;
  items_.clear();
  Update();
}

void ThcdPalmFieldDefs::Assign(const ThcdPalmFieldDefs& other) {
  if (&other == this) return;
  BeginUpdate();
  try {
    items_.clear();
    for (const auto& item : other.items_) Add().Assign(*item);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void ThcdPalmFieldDefs::EndUpdate() {
  if (update_count_ > 0 && --update_count_ == 0) Update();
}

void ThcdPalmFieldDefs::SetAlignment(uint32_t alignment) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  Update();
}

void ThcdPalmFieldDefs::Update() {
  if (update_count_ == 0) table_->FieldDefsChanged();
}

}  // namespace kestro
