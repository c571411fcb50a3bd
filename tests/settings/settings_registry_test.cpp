// The settings reads: defaults from the browsers' own keys, the type rules,
// and that reading never writes a default back.
#include "settings/settings_registry.h"

#include <gtest/gtest.h>

#include "base/exception.h"
#include "platform/registry.h"
#include "support/test_environment.h"

namespace kestro {
namespace {

using platform::OpenCurrentUserKey;
using platform::RegValue;

constexpr const char* kShellFolders = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kNetscape = "\\Software\\Netscape\\Netscape Navigator\\Main";

void Put(const char* key, const char* name, const RegValue& value) {
  auto k = OpenCurrentUserKey(key, true);
  ASSERT_TRUE(k);
  ASSERT_TRUE(k->Write(name, value));
}

class SettingsRegistry : public ::testing::Test {
 protected:
  void SetUp() override {
    Put(kShellFolders, "Favorites", platform::StringValue("C:\\Users\\ann\\Favorites"));
    Put(kNetscape, "Install Directory", platform::StringValue("C:\\Program Files\\Netscape"));
  }
  testing::TestEnvironment env_;
};

TEST_F(SettingsRegistry, FirstReadCreatesTheKeyButWritesNoDefault) {
  EXPECT_FALSE(OpenCurrentUserKey(kSettingsKey, false));
  EXPECT_EQ(ReadBrowserType(), 0);
  EXPECT_EQ(ReadFavoritesPath(), "C:\\Users\\ann\\Favorites");
  auto key = OpenCurrentUserKey(kSettingsKey, false);
  ASSERT_TRUE(key);
  EXPECT_TRUE(key->ValueNames().empty());
}

TEST_F(SettingsRegistry, DefaultFollowsTheBrowserTypeAndEmptyCountsAsAbsent) {
  struct Case {
    int32_t type;
    const char* stored;  // null: no FavoritesPath value
    const char* expected;
  } cases[] = {
      {0, nullptr, "C:\\Users\\ann\\Favorites"},
      {0, "", "C:\\Users\\ann\\Favorites"},
      {1, nullptr, "C:\\Program Files\\Netscape"},  // the folder, not a bookmark file
      {1, "", "C:\\Program Files\\Netscape"},
      {-1, nullptr, ""},
      {7, "", ""},
      {1, "D:\\bookmarks.htm", "D:\\bookmarks.htm"},
  };
  for (const Case& c : cases) {
    platform::DeleteCurrentUserKey(kSettingsKey);
    Put(kSettingsKey, kBrowserTypeValue, platform::DwordValue(static_cast<uint32_t>(c.type)));
    if (c.stored) Put(kSettingsKey, kFavoritesPathValue, platform::StringValue(c.stored));
    EXPECT_EQ(ReadBrowserType(), c.type);
    EXPECT_EQ(ReadFavoritesPath(), c.expected) << "type " << c.type << " stored " << (c.stored ? c.stored : "(none)");
  }
}

TEST_F(SettingsRegistry, MissingBrowserKeysGiveAnEmptyDefault) {
  platform::DeleteCurrentUserKey(kShellFolders);
  platform::DeleteCurrentUserKey(kNetscape);
  EXPECT_EQ(ReadFavoritesPath(), "");
  Put(kSettingsKey, kBrowserTypeValue, platform::DwordValue(1));
  EXPECT_EQ(ReadFavoritesPath(), "");
  EXPECT_FALSE(OpenCurrentUserKey(kNetscape, false)) << "a default read must not create the browser's key";
}

TEST_F(SettingsRegistry, ExpandableStringIsReturnedUnexpandedUpToItsFirstZero) {
  Put(kSettingsKey, kFavoritesPathValue,
      RegValue{static_cast<uint32_t>(platform::RegType::kExpandString), std::string("%HOME%\\fav\0junk", 16)});
  EXPECT_EQ(ReadFavoritesPath(), "%HOME%\\fav");
}

TEST_F(SettingsRegistry, WrongTypesAreRefusedByName) {
  Put(kSettingsKey, kBrowserTypeValue, platform::StringValue("1"));
  try {
    ReadBrowserType();
    FAIL() << "a string BrowserType was accepted";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Invalid data type for 'BrowserType'");
  }
  platform::DeleteCurrentUserKey(kSettingsKey);
  Put(kSettingsKey, kFavoritesPathValue, platform::DwordValue(3));
  try {
    ReadFavoritesPath();
    FAIL() << "a DWORD FavoritesPath was accepted";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Invalid data type for 'FavoritesPath'");
  }
}

TEST_F(SettingsRegistry, WriteStoresBothValuesWithTheirTypes) {
  ASSERT_TRUE(WriteSettings("/home/ann/bookmarks.htm", -1));
  auto key = OpenCurrentUserKey(kSettingsKey, false);
  ASSERT_TRUE(key);
  auto path = key->Read(kFavoritesPathValue);
  auto type = key->Read(kBrowserTypeValue);
  ASSERT_TRUE(path && type);
  EXPECT_EQ(path->type, static_cast<uint32_t>(platform::RegType::kString));
  EXPECT_EQ(type->type, static_cast<uint32_t>(platform::RegType::kDword));
  EXPECT_EQ(ReadBrowserType(), -1);
  EXPECT_EQ(ReadFavoritesPath(), "/home/ann/bookmarks.htm");
}

}  // namespace
}  // namespace kestro
