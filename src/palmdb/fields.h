// The accessors of the current record's fields: ThcdPalmFields holds one
// ThcdPalmField per field definition, in definition order. Every read or
// write goes through the owning table's GetFieldValue and SetFieldValue.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "palmdb/variant.h"

namespace kestro {

class ThcdPalmTable;
class ThcdPalmFields;

class ThcdPalmField {
 public:
  ThcdPalmField(ThcdPalmFields& fields, int index) : fields_(fields), index_(index) {}

  int Index() const { return index_; }
  const std::string& FieldName() const;

  Variant AsVariant() const;
  void SetAsVariant(const Variant& value);
  std::string AsString() const;
  void SetAsString(const std::string& value);
  // Empty text reads as 0; any other text that is not a 32-bit decimal
  // integer raises EConvertError.
  int32_t AsInteger() const;
  void SetAsInteger(int32_t value);

 private:
  ThcdPalmFields& fields_;
  int index_;
};

class ThcdPalmFields {
 public:
  explicit ThcdPalmFields(ThcdPalmTable& table) : table_(table) {}
  ThcdPalmFields(const ThcdPalmFields&) = delete;
  ThcdPalmFields& operator=(const ThcdPalmFields&) = delete;

  ThcdPalmTable& Table() const { return table_; }
  int Count() const { return static_cast<int>(fields_.size()); }
  // The caller keeps index within 0 to Count() - 1.
  ThcdPalmField& Field(int index) const { return *fields_[static_cast<std::size_t>(index)]; }

  uint32_t RecordId() const;
  uint8_t Attributes() const;
  void SetAttributes(uint8_t attributes);
  int8_t Category() const;
  void SetCategory(int8_t category);

  // Copies every value (as variants), then the attributes and the category;
  // the counts must match (EPalmDBError 65264).
  void Assign(const ThcdPalmFields& other);

  // Frees every accessor and makes one per field definition.
  void Rebuild(int count);

 private:
  ThcdPalmTable& table_;
  std::vector<std::unique_ptr<ThcdPalmField>> fields_;
};

}  // namespace kestro
