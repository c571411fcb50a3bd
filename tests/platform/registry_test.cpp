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
  ASSERT_TRUE(key->Write("Expand", RegValue{static_cast<uint32_t>(RegType::kExpandString), "%HOME%\\x"}));
  ASSERT_TRUE(key->Write("Blob", RegValue{static_cast<uint32_t>(RegType::kBinary), std::string("\x00\xff", 2)}));

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
  ASSERT_TRUE(WriteFileAtomically(file,
                                  "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Kestro]\n\"BrowserType\"=dword:00000005\n\n"
                                  "[HKEY_CURRENT_USER\\Software\\Kestro]\n\"BrowserType\"=dword:00000001\n"
                                  "\"Odd\"=hex(7):61,00,00,00\n"));
  auto key = OpenFileRegistryKey(file, "Software\\Kestro", false);
  ASSERT_TRUE(key);
  EXPECT_EQ(key->Read("BrowserType")->AsDword(), 1u);
  EXPECT_EQ(key->Read("Odd")->type, 7u);  // a type we do not know stays what it was
}

}  // namespace
}  // namespace kestro::platform
