// The sync error table, the byte-order and four-character-code conversions,
// the handheld date and time forms, and the modified stream.
#include <gtest/gtest.h>

#include <cstring>

#include "base/exception.h"
#include "palmdb/conversions.h"
#include "palmdb/modified_memory_stream.h"
#include "palmdb/sync_errors.h"

namespace kestro {
namespace {

TEST(SyncErrors, TableHoldsExactlyTheHostCodes) {
  EXPECT_EQ(ErrorTextCount(), 98);
  EXPECT_STREQ(ErrorText(16387), "The requested database, record, resource, etc. could not be found.");
  EXPECT_STREQ(ErrorText(16386), "Not used.");
  EXPECT_STREQ(ErrorText(16389), "Not used.");
  EXPECT_STREQ(ErrorText(268461072), "The connection with the handheld was lost.");
  EXPECT_STREQ(ErrorText(-1003), "The specified conduit does not exist.");
  EXPECT_STREQ(ErrorText(0), "The function call was successful.");
  // Gaps in the ranges have no text.
  for (int32_t code : {16392, -1014, -508, 4115, 4208, 1, 268461073}) {
    EXPECT_STREQ(ErrorText(code), "") << code;
  }
  // Every code of every range the table covers has a text.
  for (int32_t code : {-1017, -1000, -555, -500, -1, 4097, 4114, 4176, 4192, 4209, 4219, 16385, 16408,
                       268452867, 268452869, 268452881}) {
    EXPECT_STRNE(ErrorText(code), "") << code;
  }
}

TEST(SyncErrors, MessageHasBlankBeforeColonAndNoneAfter) {
  EPalmSyncError known(16396);
  EXPECT_EQ(known.Message(), "Error 16396 :The requested database is already opened.");
  EXPECT_EQ(known.ErrorCode(), 16396);
  EPalmSyncError unknown(16392);
  EXPECT_EQ(unknown.Message(), "Error 16392 :");
}

TEST(SyncErrors, CheckRaisesForEveryNonzeroCode) {
  EXPECT_NO_THROW(CheckSyncResult(0));
  for (int32_t code : {16387, 16392, -1, 268461072}) {
    try {
      CheckSyncResult(code);
      ADD_FAILURE() << "no exception for " << code;
    } catch (const EPalmSyncError& e) {
      EXPECT_EQ(e.ErrorCode(), code);
    }
  }
  EXPECT_THROW(RaiseSyncError(0), EPalmSyncError);
}

TEST(Conversions, ReverseValReversesTheLowBytes) {
  EXPECT_EQ(ReverseVal(2, 0x1234), 0x3412u);
  EXPECT_EQ(ReverseVal(4, 0x12345678), 0x78563412u);
  EXPECT_EQ(ReverseVal(8, 0x0102030405060708ull), 0x0807060504030201ull);
  EXPECT_EQ(ReverseVal(1, 0xABCD), 0xCDu);
  EXPECT_EQ(ReverseVal(2, 0xFFFF1234), 0x3412u) << "upper bytes are dropped";
  for (int bad : {0, 9, -1}) {
    try {
      ReverseVal(bad, 1);
      ADD_FAILURE() << bad;
    } catch (const EAssertionFailed& e) {
      EXPECT_NE(e.Message().find("Illegal # Bytes for ReverseVal"), std::string::npos);
      EXPECT_NE(e.Message().find("Imports\\Conduits\\hcdPalmMisc"), std::string::npos);
    }
  }
}

TEST(Conversions, FourCharacterCodes) {
  EXPECT_EQ(FourCharCodeToLong("DATA"), 0x44415441u);
  EXPECT_EQ(FourCharCodeToLong("Kstr"), 0x4B737472u);
  EXPECT_TRUE(IsValidFourCharCode("abcd"));
  EXPECT_TRUE(IsValidFourCharCode("a b\x7f"));
  for (const char* bad : {"abc", "abcde", "ab\x1f" "c", "ab\x80" "c", ""}) {
    EXPECT_FALSE(IsValidFourCharCode(bad)) << bad;
    try {
      FourCharCodeToLong(bad);
      ADD_FAILURE() << bad;
    } catch (const ECreatorIDError& e) {
      EXPECT_EQ(e.Message(), std::string("The Creator ID \"") + bad + "\" is invalid");
    }
  }
}

TEST(Conversions, HandheldDateWord) {
  TDateTime jan1_2000 = TextToDate("2000-01-01");
  EXPECT_EQ(DateTimeToPalmDate(jan1_2000), 0xC021);
  EXPECT_EQ(PalmDateToDateTime(0xC021), jan1_2000);
  EXPECT_EQ(DateTimeToPalmDate(jan1_2000 + 0.75), 0xC021) << "the time of day is dropped";
  EXPECT_EQ(PalmDateToDateTime(0), 0.0);
  EXPECT_EQ(DateTimeToPalmDate(0), 0);
  EXPECT_EQ(DateToText(0), "1899-12-30");
  EXPECT_EQ(DateTimeToPalmDate(TextToDate("1899-12-30")), 0) << "no date survives a text round trip";
  EXPECT_THROW(PalmDateToDateTime((96 << 9) | (2 << 5) | 30), EConvertError);  // 30 February
  EXPECT_THROW(PalmDateToDateTime((96 << 9) | (13 << 5) | 1), EConvertError);  // month 13
}

TEST(Conversions, HandheldTimeAndItsNullForm) {
  EXPECT_EQ(PalmTimeToText(PalmTime{13, 5}), "13:05:00");
  EXPECT_EQ(PalmTimeToText(PalmTime{}), "");
  EXPECT_THROW(PalmTimeToDateTime(PalmTime{}), ETimeError);
  EXPECT_THROW(PalmTimeToDateTime(PalmTime{24, 0}), EConvertError);
  PalmTime empty = TextToPalmTime("");
  EXPECT_EQ(empty.hours, 0xFF);
  EXPECT_EQ(empty.minutes, 0xFF);
  PalmTime t = TextToPalmTime("07:45:59");
  EXPECT_EQ(t.hours, 7);
  EXPECT_EQ(t.minutes, 45) << "seconds are dropped";
  EXPECT_THROW(TextToPalmTime("7h45"), EConvertError);
}

TEST(Conversions, HandheldDateTime) {
  uint8_t bytes[kPalmDateTimeSize];
  DateTimeToPalmDateTime(0, bytes);
  for (uint8_t b : bytes) EXPECT_EQ(b, 0);
  EXPECT_EQ(PalmDateTimeToDateTime(bytes), 0.0);

  TDateTime value = TextToDateTime("2003-05-17 08:09:10");  // a Saturday
  DateTimeToPalmDateTime(value, bytes);
  const uint8_t expected[kPalmDateTimeSize] = {0, 10, 0, 9, 0, 8, 0, 17, 0, 5, 0x07, 0xD3, 0, 6};
  EXPECT_EQ(std::memcmp(bytes, expected, sizeof bytes), 0);
  EXPECT_EQ(DateTimeToText(PalmDateTimeToDateTime(bytes)), "2003-05-17 08:09:10");
}

TEST(Conversions, TextFormsRoundTrip) {
  for (const char* text : {"1899-12-30", "1904-01-01", "2031-12-31", "1800-02-28 23:59:59", "2024-02-29 00:00:01"}) {
    EXPECT_EQ(DateTimeToText(TextToDateTime(text)), text);
  }
  EXPECT_EQ(FloatToText(0.1), "0.1");
  EXPECT_EQ(TextToFloat(FloatToText(1.0 / 3.0)), TextToFloat("0.333333333333333"));
  EXPECT_THROW(TextToFloat("abc"), EConvertError);
  EXPECT_THROW(TextToDate("2001-13-01"), EConvertError);
}

TEST(ModifiedMemoryStream, EveryWriteOrResizeMarksIt) {
  ThcdModifiedMemoryStream fresh;
  EXPECT_FALSE(fresh.Modified());
  fresh.Write("", 0);
  EXPECT_TRUE(fresh.Modified()) << "a write of zero bytes counts";

  ThcdModifiedMemoryStream s;
  s.Write("abcdef", 6);
  s.SetModified(false);
  s.SetSize(3);
  EXPECT_TRUE(s.Modified());
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(s.Memory()), s.Size()), "abc");
  s.SetModified(false);
  s.SetCapacity(100);
  EXPECT_TRUE(s.Modified());

  ThcdModifiedMemoryStream copy;
  copy.LoadFromStream(s);
  EXPECT_TRUE(copy.Modified());
  EXPECT_EQ(copy.Size(), 3u);
  char buf[8] = {};
  EXPECT_EQ(copy.Read(buf, sizeof buf), 3u);
  EXPECT_STREQ(buf, "abc");
}

}  // namespace
}  // namespace kestro
