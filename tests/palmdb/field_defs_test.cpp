// Field definitions and field accessors: who is told of a change, what an
// assignment copies, lookups by name, and the accessors' conversions.
#include "palmdb/field_defs.h"

#include <gtest/gtest.h>

#include "base/exception.h"
#include "palmdb/remote_table.h"
#include "palmdb/sync_errors.h"

namespace kestro {
namespace {

class CountingTable : public ThcdPalmRemoteTable {
 public:
  void FieldDefsChanged() override {
    ++changes;
    ThcdPalmRemoteTable::FieldDefsChanged();
  }
  int changes = 0;
};

TEST(FieldDefs, NeedATable) {
  try {
    ThcdPalmFieldDefs defs(nullptr);
    FAIL() << "created without a table";
  } catch (const EPalmDBError& e) {
    EXPECT_STREQ(e.what(), "Created FieldDefs did not have a table owner");
  }
}

TEST(FieldDefs, EveryChangeTellsTheTableAndRebuildsTheFields) {
  CountingTable table;
  auto& defs = table.FieldDefs();
  ThcdPalmFieldDef& def = defs.Add();
  EXPECT_EQ(table.changes, 1);
  EXPECT_EQ(def.DataType(), ptWord);  // the defaults
  EXPECT_EQ(def.Size(), 0);
  def.SetFieldName("Name");
  def.SetFieldName("Name");  // the same value: no notice
  def.SetDataType(ptString);
  def.SetSize(8);
  defs.SetAlignment(2);
  defs.SetAlignment(2);
  EXPECT_EQ(table.changes, 5);
  defs.SetStrictFields(false);  // read only when reading records
  EXPECT_EQ(table.changes, 5);
  defs.Add("Other", ptByte);  // one notice for the whole addition
  EXPECT_EQ(table.changes, 6);
  EXPECT_EQ(table.Fields().Count(), 2);
  EXPECT_EQ(table.Values().size(), 2u);
  defs.Delete(0);
  EXPECT_EQ(table.changes, 7);
  EXPECT_EQ(table.Fields().Count(), 1);
  EXPECT_EQ(table.Fields().Field(0).FieldName(), "Other");
}

TEST(FieldDefs, AssignCopiesItemsButNotAlignmentOrStrictness) {
  ThcdPalmRemoteTable source, target;
  source.FieldDefs().Add("A", ptLong);
  source.FieldDefs().Add("B", ptString, 12);
  source.FieldDefs().SetAlignment(4);
  source.FieldDefs().SetStrictFields(false);
  target.FieldDefs().Add("Old", ptByte);
  target.SetFieldDefs(source.FieldDefs());
  ASSERT_EQ(target.FieldDefs().Count(), 2);
  EXPECT_EQ(target.FieldDefs()[1].FieldName(), "B");
  EXPECT_EQ(target.FieldDefs()[1].DataType(), ptString);
  EXPECT_EQ(target.FieldDefs()[1].Size(), 12);
  EXPECT_EQ(target.FieldDefs().Alignment(), 0u);
  EXPECT_TRUE(target.FieldDefs().StrictFields());
  EXPECT_EQ(target.Fields().Count(), 2);
}

TEST(FieldDefs, DisplayNameFallsBackWhenUnnamed) {
  ThcdPalmRemoteTable table;
  table.FieldDefs().Add();
  table.FieldDefs().Add("Named", ptByte);
  EXPECT_EQ(table.FieldDefs()[0].DisplayName(), "ThcdPalmFieldDef0");
  EXPECT_EQ(table.FieldDefs()[1].DisplayName(), "Named");
}

TEST(Fields, LookupByNameFoldsCase) {
  ThcdPalmRemoteTable table;
  table.FieldDefs().Add("Name", ptString);
  table.FieldDefs().Add("URL", ptString);
  ASSERT_NE(table.FindField("url"), nullptr);
  EXPECT_EQ(table.FindField("url")->Index(), 1);
  EXPECT_EQ(table.FindField("Nam"), nullptr);
  EXPECT_THROW(table.FieldByName("Names"), EPalmDBError);
}

TEST(Fields, AssignNeedsMatchingCounts) {
  ThcdPalmRemoteTable a, b;
  a.FieldDefs().Add("One", ptString);
  try {
    b.Fields().Assign(a.Fields());
    FAIL() << "counts differ";
  } catch (const EPalmDBError& e) {
    EXPECT_STREQ(e.what(), "The number of fields in the two field objects did not match");
  }
}

TEST(Variants, TextForms) {
  EXPECT_EQ(Variant().ToText(), "");
  EXPECT_EQ(Variant::Integer(-12).ToText(), "-12");
  EXPECT_EQ(Variant::Float(0.5).ToText(), "0.5");
  EXPECT_EQ(Variant::Float(0.1 + 0.2).ToText(), "0.30000000000000004");
  EXPECT_EQ(Variant::DateTime(36526.0, DateTimeForm::kDate).ToText(), "2000-01-01");
  EXPECT_EQ(Variant::DateTime(0.0, DateTimeForm::kTime).ToText(), "00:00:00");
  EXPECT_EQ(Variant::DateTime(36526.5).ToText(), "2000-01-01 12:00:00");
  EXPECT_EQ(Variant::Bytes({'a', 0, 'b'}).ToText(), std::string("a\0b", 3));
  EXPECT_THROW(Variant::Text("1").IntegerValue(), EConvertError);
}

}  // namespace
}  // namespace kestro
