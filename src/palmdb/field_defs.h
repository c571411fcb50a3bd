// The field definitions that give a handheld record its structure: one
// ThcdPalmFieldDef per field (name, type, size), collected in the
// ThcdPalmFieldDefs that a table owns. Every change of the collection or of
// one of its items tells the owning table (FieldDefsChanged).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kestro {

class ThcdPalmTable;
class ThcdPalmFieldDefs;

enum ThcdPalmFieldType : uint8_t {
  ptByte,
  ptWord,
  ptDate,
  ptTime,
  ptDateTime,
  ptLong,
  ptString,
  ptInt64,
  ptSingle,
  ptDouble,
  ptCustom,
};

// Width in the record by type; -1 for ptString and ptCustom, whose width is
// the definition's Size.
constexpr int kFieldTypeWidth[] = {1, 2, 2, 2, 14, 4, -1, 8, 4, 8, -1};

constexpr int FieldTypeWidth(ThcdPalmFieldType type) {
  return type <= ptCustom ? kFieldTypeWidth[type] : -1;
}
// Widths 2, 4, 8 and 14 are even; ptByte, ptString and ptCustom never are.
constexpr bool IsEvenWidth(ThcdPalmFieldType type) {
  int w = FieldTypeWidth(type);
  return w > 0 && w % 2 == 0;
}

class ThcdPalmFieldDef {
 public:
  // Made by ThcdPalmFieldDefs::Add, never alone.
  explicit ThcdPalmFieldDef(ThcdPalmFieldDefs* collection) : collection_(collection) {}
  ThcdPalmFieldDef(const ThcdPalmFieldDef&) = delete;
  ThcdPalmFieldDef& operator=(const ThcdPalmFieldDef&) = delete;

  const std::string& FieldName() const { return field_name_; }
  void SetFieldName(const std::string& name);
  ThcdPalmFieldType DataType() const { return data_type_; }
  void SetDataType(ThcdPalmFieldType type);
  int32_t Size() const { return size_; }
  void SetSize(int32_t size);

  // The name shown for the item: FieldName, or the collection's default.
  std::string DisplayName() const;
  // Copies DataType, Size and FieldName from another definition.
  void Assign(const ThcdPalmFieldDef& other);

  ThcdPalmFieldDefs* Collection() const { return collection_; }
  int Index() const;
  // The width in the record: the type's width, or Size for strings and
  // custom fields.
  int32_t Width() const;

 private:
  void Changed();

  ThcdPalmFieldDefs* collection_;
  std::string field_name_;
  ThcdPalmFieldType data_type_ = ptWord;
  int32_t size_ = 0;
};

class ThcdPalmFieldDefs {
 public:
  // The table is required: without one, EPalmDBError 65288.
  explicit ThcdPalmFieldDefs(ThcdPalmTable* table);
  virtual ~ThcdPalmFieldDefs();
  ThcdPalmFieldDefs(const ThcdPalmFieldDefs&) = delete;
  ThcdPalmFieldDefs& operator=(const ThcdPalmFieldDefs&) = delete;

  ThcdPalmTable& Owner() const { return *table_; }

  int Count() const { return static_cast<int>(items_.size()); }
  virtual ThcdPalmFieldDef& GetItem(int index) const;
  virtual void SetItem(int index, const ThcdPalmFieldDef& value);
  ThcdPalmFieldDef& operator[](int index) const { return GetItem(index); }

  ThcdPalmFieldDef& Add();
  ThcdPalmFieldDef& Add(const std::string& name, ThcdPalmFieldType type, int32_t size = 0);
  void Delete(int index);
  void Clear();
  // Copies the other collection's items, not its Alignment or StrictFields.
  void Assign(const ThcdPalmFieldDefs& other);

  // Changes between these calls tell the table once, at the outermost end.
  void BeginUpdate() { ++update_count_; }
  void EndUpdate();

  uint32_t Alignment() const { return alignment_; }
  virtual void SetAlignment(uint32_t alignment);
  bool StrictFields() const { return strict_fields_; }
  void SetStrictFields(bool strict) { strict_fields_ = strict; }

 protected:
  // Called on every change; tells the owning table unless updates are held.
  virtual void Update();

 private:
  friend class ThcdPalmFieldDef;

  ThcdPalmTable* table_;
  std::vector<std::unique_ptr<ThcdPalmFieldDef>> items_;
  uint32_t alignment_ = 0;
  bool strict_fields_ = true;
  int update_count_ = 0;
};

}  // namespace kestro
