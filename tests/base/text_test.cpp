#include "base/text.h"

#include <gtest/gtest.h>

#include "base/exception.h"

namespace kestro {
namespace {

TEST(Text, CaseFoldingTouchesOnlyAsciiLetters) {
  EXPECT_TRUE(SameTextAscii("News", "nEWS"));
  EXPECT_FALSE(SameTextAscii("News", "News "));
  // Bytes above 0x7F are compared exactly: no locale folding of "é" / "É".
  EXPECT_FALSE(SameTextAscii("caf\xc3\xa9", "CAF\xc3\x89"));
  EXPECT_EQ(AsciiUpper("a-z{}\xe9"), "A-Z{}\xe9");
}

TEST(Text, FixedFieldsAreCutAndReadToTheFirstNul) {
  char field[4];
  SetFieldText(field, sizeof field, "abcdef");
  EXPECT_EQ(FieldText(field, sizeof field), "abcd");  // full field, no terminator
  SetFieldText(field, sizeof field, "ab");
  EXPECT_EQ(FieldText(field, sizeof field), "ab");
  EXPECT_EQ(field[2], '\0');
  EXPECT_EQ(field[3], '\0');
}

TEST(Text, CutsKeepUtf8CharactersWhole) {
  struct Case {
    const char* text;
    std::size_t size;
    const char* cut;
  } cases[] = {
      {"a\xC3\xA9", 2, "a"},                // é split after its lead byte
      {"a\xE2\x82\xAC", 3, "a"},            // € split inside
      {"\xF0\x9F\x98\x80", 3, ""},          // a four-byte character
      {"\xC3\xA9\xC3\xA9", 3, "\xC3\xA9"},  // the first stays whole
      {"\xC3\xA9\xC3\xA9", 2, "\xC3\xA9"},  // a cut between characters
      {"caf\xE9s", 4, "caf\xE9"},           // Latin-1: cut where it falls
      {"ab\x80\x80\x80\x80", 3, "ab\x80"},  // stray continuation bytes
      {"ab\xC3\xA9", 5, "ab\xC3\xA9"},      // short enough: unchanged
  };
  for (const Case& c : cases)
    EXPECT_EQ(CutToField(c.text, c.size), c.cut) << c.text << " at " << c.size;
  char field[4];
  SetFieldText(field, sizeof field, "ab\xE2\x82\xAC");
  EXPECT_EQ(FieldText(field, sizeof field), "ab");
}

TEST(Text, ParseInt64AcceptsWholeDecimalNumbersOnly) {
  struct Case {
    const char* text;
    bool ok;
    int64_t value;
  } cases[] = {
      {"0", true, 0},
      {" 42 ", true, 42},
      {"-1", true, -1},
      {"+7", true, 7},
      {"9223372036854775807", true, INT64_MAX},
      {"-9223372036854775808", true, INT64_MIN},
      {"9223372036854775808", false, 0},
      {"", false, 0},
      {"-", false, 0},
      {"1.5", false, 0},
      {"12a", false, 0},
      {"0x10", false, 0},
  };
  for (const Case& c : cases) {
    int64_t v = 0;
    EXPECT_EQ(ParseInt64(c.text, v), c.ok) << "input '" << c.text << "'";
    if (c.ok) {
      EXPECT_EQ(v, c.value) << "input '" << c.text << "'";
    }
  }
}

TEST(Text, SplitLinesTakesBothLineEndsAndAnUnendedLastLine) {
  using Lines = std::vector<std::string_view>;
  EXPECT_EQ(SplitLines(""), Lines{});
  EXPECT_EQ(SplitLines("a\r\nb\n\nc"), (Lines{"a", "b", "", "c"}));
  EXPECT_EQ(SplitLines("a\rb\r\n"), Lines{"a\rb"}) << "a lone CR is text";
}

TEST(Exception, AssertionNamesSourceAndLine) {
  EAssertionFailed e("Assertion failure", "Imports\\Conduits\\hcdHslog", 12);
  EXPECT_EQ(e.Message(), "Assertion failure (Imports\\Conduits\\hcdHslog, line 12)");
}

}  // namespace
}  // namespace kestro
