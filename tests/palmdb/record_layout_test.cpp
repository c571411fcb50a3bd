// The byte layout of records: the favourites record, numbers at their
// limits, fixed-size strings, alignment and even-width padding, short
// records and the read/write handlers.
#include "palmdb/record_layout.h"

#include <gtest/gtest.h>

#include "base/exception.h"
#include "palmdb/remote_table.h"
#include "palmdb/sync_errors.h"

namespace kestro {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Of(std::initializer_list<int> bytes) {
  Bytes out;
  for (int b : bytes) out.push_back(static_cast<uint8_t>(b));
  return out;
}

Bytes Text(const std::string& text, bool nul = true) {
  Bytes out(text.begin(), text.end());
  if (nul) out.push_back(0);
  return out;
}

Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// A table that is never opened: it holds the definitions and handlers.
class Layout : public ::testing::Test {
 protected:
  void Define(std::initializer_list<std::pair<ThcdPalmFieldType, int>> fields) {
    int n = 0;
    for (auto [type, size] : fields) table_.FieldDefs().Add("F" + std::to_string(n++), type, size);
  }
  void DefineFavourites() {
    auto& defs = table_.FieldDefs();
    defs.Add("Name", ptString);
    defs.Add("Parent", ptLong);
    defs.Add("Level", ptWord);
    defs.Add("Status", ptByte);
    defs.Add("URL", ptString);
  }
  Bytes Write(const RecordValues& values) { return LocalToRemoteRecord(table_, options_, values); }
  RecordValues Read(const Bytes& bytes) {
    RecordValues values;
    RemoteToLocalRecord(table_, options_, bytes.data(), static_cast<uint32_t>(bytes.size()), values,
                        empty_);
    return values;
  }

  ThcdPalmRemoteTable table_;
  ThcdPalmRemoteTableOptions options_;
  bool empty_ = false;
};

TEST_F(Layout, FavouritesRecordPacksToSixteenBytesAndReadsBack) {
  DefineFavourites();
  Bytes expected = Text("News") + Of({0, 0, 0, 3, 0, 1, 5}) + Text("abc");
  Bytes packed = Write({"News", "3", "1", "5", "abc"});
  EXPECT_EQ(packed, expected);
  EXPECT_EQ(packed.size(), 16u);
  EXPECT_EQ(Read(packed), (RecordValues{"News", "3", "1", "5", "abc"}));
  EXPECT_FALSE(empty_);
}

TEST_F(Layout, NumbersAtTheirLimits) {
  struct Case {
    ThcdPalmFieldType type;
    Bytes bytes;
    std::string text;
  };
  const Case cases[] = {
      {ptByte, Of({0xFF}), "255"},
      {ptWord, Of({0xFF, 0xFF}), "65535"},
      {ptLong, Of({0xFF, 0xFF, 0xFF, 0xFF}), "-1"},
      {ptLong, Of({0x80, 0, 0, 0}), "-2147483648"},
      {ptInt64, Of({0, 0, 0, 1, 0, 0, 0, 0}), "4294967296"},
      {ptInt64, Of({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE}), "-2"},
      {ptSingle, Of({0x3F, 0xC0, 0, 0}), "1.5"},
      {ptDouble, Of({0x40, 0x09, 0x21, 0xFB, 0x54, 0x44, 0x2D, 0x18}), "3.141592653589793"},
      {ptDate, Of({0xC0, 0x21}), "2000-01-01"},
      {ptDate, Of({0, 0}), "1899-12-30"},
      {ptTime, Of({13, 45}), "13:45:00"},
      {ptTime, Of({0xFF, 0xFF}), ""},
      {ptDateTime, Of({0, 5, 0, 4, 0, 3, 0, 9, 0, 5, 0x07, 0xD3, 0, 5}), "2003-05-09 03:04:05"},
      {ptDateTime, Bytes(14, 0), "1899-12-30"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("type " + std::to_string(c.type) + " text " + c.text);
    table_.FieldDefs().Clear();
    Define({{c.type, 0}});
    EXPECT_EQ(Read(c.bytes), RecordValues{c.text});
    EXPECT_EQ(Write({c.text}), c.bytes);  // and written back, the same bytes
  }
}

TEST_F(Layout, NarrowIntegersKeepTheirLowBits) {
  Define({{ptWord, 0}, {ptByte, 0}});
  EXPECT_EQ(Write({"70000", "300"}), Of({0x11, 0x70, 0x2C}));
  EXPECT_EQ(Write({"", ""}), Of({0, 0, 0}));  // empty is 0
}

TEST_F(Layout, ValuesThatDoNotReadAsTheirTypeFail) {
  const std::pair<ThcdPalmFieldType, std::string> cases[] = {
      {ptLong, "abc"},           {ptLong, "4294967296"}, {ptInt64, "1.5"},
      {ptDouble, "x1"},          {ptDate, "2003-02-30"}, {ptTime, "25:00"},
      {ptDateTime, "yesterday"}, {ptSingle, "1e300"},
  };
  for (const auto& [type, text] : cases) {
    SCOPED_TRACE(text);
    table_.FieldDefs().Clear();
    Define({{type, 0}});
    EXPECT_THROW(Write({text}), EConvertError);
  }
}

TEST_F(Layout, FixedSizeStrings) {
  Define({{ptString, 4}, {ptByte, 0}});
  EXPECT_EQ(Write({"abcdef", "1"}), Text("abcd", false) + Of({1}));
  EXPECT_EQ(Read(Text("abcd", false) + Of({1})), (RecordValues{"abcd", "1"}));
  EXPECT_EQ(Write({"ab", "1"}), Text("ab") + Of({0, 1}));
  EXPECT_EQ(Read(Text("ab") + Of({0, 1})), (RecordValues{"ab", "1"}));
}

TEST_F(Layout, AlignmentPadsAfterFields) {
  table_.FieldDefs().SetAlignment(4);
  Define({{ptByte, 0}, {ptLong, 0}});
  Bytes packed = Write({"7", "258"});
  EXPECT_EQ(packed, Of({7, 0, 0, 0, 0, 0, 1, 2}));
  EXPECT_EQ(Read(packed), (RecordValues{"7", "258"}));
}

TEST_F(Layout, EvenWidthNumbersStartAtEvenPositionsOnlyWithNumAlign) {
  Define({{ptByte, 0}, {ptWord, 0}, {ptByte, 0}});
  EXPECT_EQ(Write({"1", "515", "3"}), Of({1, 2, 3, 3}));
  options_ = {opNumAlign};
  Bytes packed = Write({"1", "515", "3"});
  EXPECT_EQ(packed, Of({1, 0, 2, 3, 3}));
  EXPECT_EQ(Read(packed), (RecordValues{"1", "515", "3"}));
}

TEST_F(Layout, RunsOfStringsAreAlignedOnlyAfterTheRunWithStringsAlign) {
  table_.FieldDefs().SetAlignment(4);
  Define({{ptString, 0}, {ptString, 0}, {ptLong, 0}});
  Bytes plain = Write({"a", "bc", "1"});
  EXPECT_EQ(plain, Text("a") + Text("bc") + Of({0, 0, 0, 1}) + Of({0, 0, 0}));
  EXPECT_EQ(Read(plain), (RecordValues{"a", "bc", "1"}));

  options_ = {opStringsAlign};
  Bytes aligned = Write({"a", "bc", "1"});
  EXPECT_EQ(aligned, Text("a") + Text("bc") + Of({0, 0, 0}) + Of({0, 0, 0, 1}));
  EXPECT_EQ(Read(aligned), (RecordValues{"a", "bc", "1"}));
}

TEST_F(Layout, FixedStringIsPaddedWhenWrittenButNotSkippedWhenRead) {
  // Records already on handhelds were written and read by these rules, so
  // the two sides keep disagreeing when an alignment is set.
  table_.FieldDefs().SetAlignment(4);
  Define({{ptString, 3}, {ptByte, 0}});
  Bytes packed = Write({"ab", "9"});
  EXPECT_EQ(packed, Text("ab") + Of({0, 9}) + Of({0, 0, 0}));
  EXPECT_EQ(Read(packed), (RecordValues{"ab", "0"}));
  table_.FieldDefs().SetAlignment(0);
  EXPECT_EQ(Read(Write({"ab", "9"})), (RecordValues{"ab", "9"}));
}

TEST_F(Layout, EmptyRecordGivesEmptyValues) {
  DefineFavourites();
  EXPECT_EQ(Read({}), RecordValues(5));
  EXPECT_TRUE(empty_);
}

TEST_F(Layout, ShortRecordsFailWithStrictFieldsAndStopWithout) {
  DefineFavourites();
  EXPECT_THROW(
      try { Read(Text("News")); } catch (const EPalmDBError& e) {
        EXPECT_STREQ(e.what(),
                     "A mapped field went beyond the end of the physical record structure");
        throw;
      },
      EPalmDBError);
  table_.FieldDefs().SetStrictFields(false);
  EXPECT_EQ(Read(Text("News")), (RecordValues{"News", "", "", "", ""}));
  // A fixed-width field that starts inside the record and runs past it is
  // always an error.
  EXPECT_THROW(Read(Text("News") + Of({0, 0})), EPalmDBError);
}

TEST_F(Layout, UnterminatedStringAtTheEndStopsAtTheRecord) {
  Define({{ptString, 0}});
  EXPECT_EQ(Read(Text("abc", false)), RecordValues{"abc"});
  table_.FieldDefs().Clear();
  Define({{ptString, 8}});
  EXPECT_THROW(Read(Text("abc", false)), EPalmDBError);
}

TEST_F(Layout, EmbeddedNulDoesNotShiftLaterFields) {
  Define({{ptString, 0}, {ptByte, 0}});
  Bytes packed = Write({std::string("ab\0cd", 5), "4"});
  EXPECT_EQ(packed, Text("ab") + Of({4}));
  EXPECT_EQ(Read(packed), (RecordValues{"ab", "4"}));
}

TEST_F(Layout, CustomFieldsAreCutOrZeroFilled) {
  Define({{ptCustom, 3}, {ptCustom, 0}, {ptByte, 0}});
  EXPECT_EQ(Write({"abcd", "zz", "1"}), Text("abc", false) + Of({1}));
  EXPECT_EQ(Write({"a", "", "1"}), Text("a") + Of({0, 1}));
  EXPECT_EQ(Read(Text("a") + Of({0, 1})), (RecordValues{std::string("a\0\0", 3), "", "1"}));
}

TEST_F(Layout, DoubleKeepsItsExactBytesThroughText) {
  Define({{ptDouble, 0}});
  Bytes bytes = Of({0x3F, 0xD3, 0x33, 0x33, 0x33, 0x33, 0x33, 0x34});  // 0.1 + 0.2
  EXPECT_EQ(Write(Read(bytes)), bytes);
}

TEST_F(Layout, ReadHandlerTakesFieldsAndCanHandThemBack) {
  DefineFavourites();
  table_.OnReadField = [](ThcdPalmTable&, const uint8_t* data, int32_t size, int32_t index,
                          uint32_t& pos, std::string& value) {
    if (index == 0) {
      // Takes three bytes as the name, whatever they are.
      value.assign(reinterpret_cast<const char*>(data) + pos, 3);
      pos += 3;
      return;
    }
    EXPECT_EQ(size, 16);
    throw EAbort();
  };
  // "New" by the handler, then the parent starts at byte 3: "s\0\0\0" = 0x73000000.
  Bytes record = Text("News") + Of({0, 0, 0, 3, 0, 1, 5}) + Text("abc");
  RecordValues values = Read(record);
  EXPECT_EQ(values[0], "New");
  EXPECT_EQ(values[1], std::to_string(0x73000000));
}

TEST_F(Layout, ReadHandlerFailureOtherThanAbortPassesOut) {
  DefineFavourites();
  table_.OnReadField = [](ThcdPalmTable&, const uint8_t*, int32_t, int32_t, uint32_t&,
                          std::string&) { throw Exception("bad"); };
  EXPECT_THROW(Read(Text("x")), Exception);
}

TEST_F(Layout, WriteHandlerBytesReplaceAField) {
  Define({{ptByte, 0}, {ptWord, 0}});
  table_.OnWriteField = [](ThcdPalmTable&, int32_t index, Variant& data) {
    if (index == 1) throw EAbort();
    data = Variant::Bytes({0xAA, 0xBB, 0xCC});
  };
  EXPECT_EQ(Write({"1", "2"}), Of({0xAA, 0xBB, 0xCC, 0, 2}));
}

TEST_F(Layout, WriteHandlerGivingMoreBytesTheSecondTimeCannotOverrun) {
  Define({{ptByte, 0}});
  int calls = 0;
  table_.OnWriteField = [&](ThcdPalmTable&, int32_t, Variant& data) {
    data = Variant::Bytes(Bytes(++calls == 1 ? 1 : 4, 7));
  };
  EXPECT_THROW(
      try { Write({"1"}); } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "LocalToRemoteRecord: Record went beyond it's limits");
        throw;
      },
      Exception);
}

TEST_F(Layout, RecordsUpTo65000BytesRoundTrip) {
  DefineFavourites();
  std::string url(64980, 'u');
  Bytes packed = Write({"n", "1", "2", "3", url});
  EXPECT_EQ(packed.size(), 2u + 7u + url.size() + 1u);
  EXPECT_EQ(Read(packed)[4], url);
}

}  // namespace
}  // namespace kestro
