#include "platform/registry.h"

#include <gtest/gtest.h>

#include "platform/environment.h"
#include "platform/file_system.h"
#include "platform/reg_file.h"
#include "support/test_environment.h"

namespace kestro::platform {
namespace {

TEST(Registry, ValuesKeepTheirTypesAcrossReopening) {
  testing::TestEnvironment env;
  auto key = OpenCurrentUserKey("\\Software\\Kestro", true);
  ASSERT_TRUE(key);
  ASSERT_TRUE(key->Write("FavoritesPath", StringValue("C:\\Fav \"quoted\"")));
  ASSERT_TRUE(key->Write("BrowserType", DwordValue(0xFFFFFFFF)));
  ASSERT_TRUE(
      key->Write("Expand", RegValue{static_cast<uint32_t>(RegType::kExpandString), "%HOME%\\x"}));
  ASSERT_TRUE(key->Write(
      "Blob", RegValue{static_cast<uint32_t>(RegType::kBinary), std::string("\x00\xff", 2)}));

  auto again = OpenCurrentUserKey("software\\KESTRO", false);  // case-blind path
  ASSERT_TRUE(again);
  auto path = again->Read("favoritespath");
  ASSERT_TRUE(path);
  EXPECT_EQ(path->type, static_cast<uint32_t>(RegType::kString));
  EXPECT_EQ(path->data, "C:\\Fav \"quoted\"");
  auto type = again->Read("BrowserType");
  ASSERT_TRUE(type);
  EXPECT_EQ(type->type, static_cast<uint32_t>(RegType::kDword));
  EXPECT_EQ(type->AsDword(), 0xFFFFFFFFu);
  EXPECT_EQ(again->Read("Expand")->type, static_cast<uint32_t>(RegType::kExpandString));
  EXPECT_EQ(again->Read("Expand")->data, "%HOME%\\x");
  EXPECT_EQ(again->Read("Blob")->data, std::string("\x00\xff", 2));
  EXPECT_FALSE(again->Read("Missing"));
}

TEST(Registry, OpeningWithoutCreateFindsNothingAndChangesNothing) {
  testing::TestEnvironment env;
  EXPECT_FALSE(OpenCurrentUserKey("Software\\Nowhere", false));
  EXPECT_FALSE(FileExists(env.Path("registry.reg")));
  ASSERT_TRUE(OpenCurrentUserKey("Software\\A\\B", true));
  EXPECT_TRUE(OpenCurrentUserKey("Software\\A", false)) << "parents exist with their children";
}

TEST(Registry, SubKeysAndDeletion) {
  testing::TestEnvironment env;
  OpenCurrentUserKey("Software\\Host\\Conduits\\Kstr", true)->Write("Title", StringValue("Kestro"));
  OpenCurrentUserKey("Software\\Host\\Conduits\\Abcd", true);
  auto names = OpenCurrentUserKey("Software\\Host\\Conduits", false)->SubKeyNames();
  EXPECT_EQ(names.size(), 2u);
  EXPECT_TRUE(DeleteCurrentUserKey("Software\\Host\\Conduits\\Kstr"));
  EXPECT_FALSE(OpenCurrentUserKey("Software\\Host\\Conduits\\Kstr", false));
  EXPECT_TRUE(OpenCurrentUserKey("Software\\Host\\Conduits\\Abcd", false));
}

TEST(Registry, ReadsAHandWrittenRegeditFileAndIgnoresOtherRoots) {
  testing::TestEnvironment env;
  std::string file = env.Path("hand.reg");
  ASSERT_TRUE(WriteFileAtomically(
      file,
      "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Kestro]\n\"BrowserType\"=dword:00000005\n\n"
      "[HKEY_CURRENT_USER\\Software\\Kestro]\n\"BrowserType\"=dword:00000001\n"
      "\"Odd\"=hex(7):61,00,00,00\n"));
  auto key = OpenFileRegistryKey(file, "Software\\Kestro", false);
  ASSERT_TRUE(key);
  EXPECT_EQ(key->Read("BrowserType")->AsDword(), 1u);
  EXPECT_EQ(key->Read("Odd")->type, 7u);  // a type we do not know stays what it was
}

// A file of the shapes regedit writes and people edit: every line that reads
// is read, one that does not is left out of reading and kept in the file.
class RegeditFile : public ::testing::Test {
 protected:
  std::unique_ptr<RegistryKey> Key(const std::string& text) {
    EXPECT_TRUE(WriteFileAtomically(file_, text));
    return OpenFileRegistryKey(file_, "Software\\Kestro", false);
  }
  std::string Text() {
    std::string text;
    ReadWholeFile(file_, text);
    return text;
  }

  testing::TestEnvironment env_;
  std::string file_ = env_.Path("hand.reg");
};

TEST_F(RegeditFile, BadLinesAreLeftOutAndTheRestReads) {
  auto key = Key(
      "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Other]\r\n\"x\"=hex($):00\r\n"
      "[HKEY_CURRENT_USER\\Software\\Kestro]\r\n\"a\"=hex(123456789):00\r\n\"b\"=hex(:00\r\n"
      "\"c\"=dword:\r\n\"d\"=dword:12x4\r\n\"e\"=hex:0g\r\n\"f\"=\"open\r\n\"Good\"=\"yes\"\r\n");
  ASSERT_TRUE(key);
  EXPECT_EQ(key->ValueNames(), std::vector<std::string>{"Good"});
  EXPECT_EQ(key->Read("Good")->data, "yes");
  ASSERT_TRUE(key->Write("New", StringValue("v")));
  for (const char* kept :
       {"\"x\"=hex($):00", "\"a\"=hex(123456789):00", "\"d\"=dword:12x4", "\"f\"=\"open"}) {
    EXPECT_NE(Text().find(kept), std::string::npos) << kept;
  }
}

TEST_F(RegeditFile, ContinuationLinesAndNumbersReadAsRegeditReadsThem) {
  auto key =
      Key("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Kestro]\r\n"
          "\"FavoritesPath\"=hex(2):2f,74,\\\r\n  66,00\r\n"
          "\"Blob\"=hex:01,\\\n\t02,\\\n  03\r\n"
          "\"Big\"=dword:100000001\r\n\"Max\"=dword:FFFFFFFF\r\n\"Short\"=dword:7\r\n");
  ASSERT_TRUE(key);
  EXPECT_EQ(key->Read("FavoritesPath")->data, "/tf");
  EXPECT_EQ(key->Read("Blob")->data, "\x01\x02\x03");
  EXPECT_FALSE(key->Read("Big")) << "more than eight digits is no DWORD";
  EXPECT_EQ(key->Read("Max")->AsDword(), 0xFFFFFFFFu);
  EXPECT_EQ(key->Read("Short")->AsDword(), 7u);
}

// Found by the fuzz target: a broken hex line at the very end still asks
// for a next piece, and rewritten before another section it took that
// section's heading, so the other root's default value became ours.
TEST_F(RegeditFile, AnOpenLastLineTakesNoLaterSectionIntoItsKey) {
  auto key = Key(
      "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Other]\r\n@=\"theirs\"\r\n"
      "[HKEY_CURRENT_USER\\Software\\Kestro]\r\n\"Good\"=\"yes\"\r\n\"Bad\"=hex\\\\\r\n");
  ASSERT_TRUE(key);
  for (int i = 0; i < 2; ++i) ASSERT_TRUE(key->Write("New" + std::to_string(i), StringValue("v")));
  EXPECT_EQ(key->ValueNames(), (std::vector<std::string>{"Good", "New0", "New1"}));
  EXPECT_NE(Text().find("[HKEY_LOCAL_MACHINE\\Other]\r\n@=\"theirs\"\r\n"), std::string::npos);
  EXPECT_EQ(Text().substr(Text().size() - 13), "\"Bad\"=hex\\\\\r\n") << "kept, last";
}

TEST_F(RegeditFile, RewritingKeepsEveryValuesTypeAndBytes) {
  auto key = Key(
      "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Kestro]\r\n\"Odd\"=hex(4):01,02\r\n"
      "\"Long\"=hex(4):01,02,03,04,05\r\n\"NoNul\"=hex(2):41,42\r\n\"TwoNuls\"=hex(2):41,00,00\r\n"
      "\"Empty\"=hex(0):\r\n\"Multi\"=hex(7):61,00,62,00,00\r\n");
  ASSERT_TRUE(key);
  std::vector<std::pair<std::string, RegValue>> before;
  for (const std::string& name : key->ValueNames()) before.emplace_back(name, *key->Read(name));
  ASSERT_EQ(before.size(), 6u);
  ASSERT_TRUE(key->Write("Line", StringValue("two\r\nlines \"and\" \\")));
  for (const auto& [name, value] : before) {
    auto again = key->Read(name);
    ASSERT_TRUE(again) << name;
    EXPECT_EQ(again->type, value.type) << name;
    EXPECT_EQ(again->data, value.data) << name;
  }
  EXPECT_EQ(key->Read("Line")->data, "two\r\nlines \"and\" \\");
  EXPECT_EQ(key->Read("Line")->type, static_cast<uint32_t>(RegType::kString));
}

}  // namespace
}  // namespace kestro::platform
