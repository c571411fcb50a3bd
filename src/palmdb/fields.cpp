#include "palmdb/fields.h"

#include "base/exception.h"
#include "base/text.h"
#include "palmdb/palm_table.h"
#include "palmdb/table_messages.h"

namespace kestro {

const std::string& ThcdPalmField::FieldName() const {
  return fields_.Table().FieldDefs().GetItem(index_).FieldName();
}

Variant ThcdPalmField::AsVariant() const { return fields_.Table().GetFieldValue(index_); }

void ThcdPalmField::SetAsVariant(const Variant& value) {
  fields_.Table().SetFieldValue(index_, value);
}

std::string ThcdPalmField::AsString() const { return AsVariant().ToText(); }

void ThcdPalmField::SetAsString(const std::string& value) { SetAsVariant(Variant::Text(value)); }

int32_t ThcdPalmField::AsInteger() const {
  // An integer field's value is taken as it is; only another kind goes
  // through its text, which is what the conversion is defined by.
  const Variant field = AsVariant();
  if (field.GetKind() == Variant::Kind::kInteger && field.IntegerValue() >= INT32_MIN &&
      field.IntegerValue() <= INT32_MAX) {
    return static_cast<int32_t>(field.IntegerValue());
  }
  std::string text = field.ToText();
  if (text.empty()) return 0;
  int64_t value = 0;
  if (!ParseInt64(text, value) || value < INT32_MIN || value > INT32_MAX) {
    throw EConvertError("'" + text + "' is not a valid integer value");
  }
  return static_cast<int32_t>(value);
}

void ThcdPalmField::SetAsInteger(int32_t value) { SetAsVariant(Variant::Integer(value)); }

uint32_t ThcdPalmFields::RecordId() const { return table_.GetRecordId(); }
uint8_t ThcdPalmFields::Attributes() const { return table_.GetRecordAttributes(); }
void ThcdPalmFields::SetAttributes(uint8_t attributes) { table_.SetRecordAttributes(attributes); }
int8_t ThcdPalmFields::Category() const { return table_.GetRecordCategory(); }
void ThcdPalmFields::SetCategory(int8_t category) { table_.SetRecordCategory(category); }

void ThcdPalmFields::Assign(const ThcdPalmFields& other) {
  if (other.Count() != Count()) RaisePalmDBError(kMsgFieldCountMismatch);
  for (int i = 0; i < Count(); ++i) Field(i).SetAsVariant(other.Field(i).AsVariant());
  // The record's marks are copied where the target can take them; a target
  // that cannot does not undo the values already copied.
  try {
    SetAttributes(other.Attributes());
  } catch (...) {
  }
  try {
    SetCategory(other.Category());
  } catch (...) {
  }
}

void ThcdPalmFields::Rebuild(int count) {
  fields_.clear();
  for (int i = 0; i < count; ++i) fields_.push_back(std::make_unique<ThcdPalmField>(*this, i));
}

}  // namespace kestro
