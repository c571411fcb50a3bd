#include "palmdb/palm_table.h"

#include <algorithm>

#include "base/text.h"
#include "palmdb/table_messages.h"

namespace kestro {

ThcdPalmTable::ThcdPalmTable(Component* owner)
    : Component(owner),
      field_defs_(std::make_unique<ThcdPalmFieldDefs>(this)),
      fields_(std::make_unique<ThcdPalmFields>(*this)) {}

ThcdPalmTable::~ThcdPalmTable() = default;

ThcdPalmField* ThcdPalmTable::FindField(const std::string& name) {
  // Only as far as both lists reach: a table that does not rebuild its
  // accessors on every change may hold fewer than there are definitions.
  int count = std::min(field_defs_->Count(), fields_->Count());
  for (int i = 0; i < count; ++i) {
    if (SameTextAscii(field_defs_->GetItem(i).FieldName(), name)) return &fields_->Field(i);
  }
  return nullptr;
}

ThcdPalmField& ThcdPalmTable::FieldByName(const std::string& name) {
  ThcdPalmField* field = FindField(name);
  if (field == nullptr) RaisePalmDBError(kMsgFieldNotFound, name);
  return *field;
}

}  // namespace kestro
