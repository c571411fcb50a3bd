#include "platform/profile_string.h"

#include <gtest/gtest.h>

#include "base/exception.h"
#include "favorites/internet_shortcut.h"
#include "platform/environment.h"
#include "platform/fault_switch.h"
#include "platform/file_system.h"
#include "platform/profile_text.h"
#include "support/test_environment.h"

namespace kestro::platform {
namespace {

TEST(ProfileText, ReadsCaseBlindSectionsAndKeys) {
  const std::string text =
      "[DEFAULT]\r\nBASEURL=http://base/\r\n"
      "[InternetShortcut]\r\n  url = http://a/b?x=1 \r\nIconIndex=0\r\n"
      "[Other]\nURL=http://other/\n";
  struct Case {
    const char* section;
    const char* key;
    bool found;
    const char* value;
  } cases[] = {
      {"InternetShortcut", "URL", true, "http://a/b?x=1"},
      {"INTERNETSHORTCUT", "Url", true, "http://a/b?x=1"},
      {"other", "url", true, "http://other/"},
      {"default", "baseurl", true, "http://base/"},
      {"InternetShortcut", "BASEURL", false, ""},
      {"Missing", "URL", false, ""},
  };
  for (const Case& c : cases) {
    std::string value;
    EXPECT_EQ(ReadProfileValue(text, c.section, c.key, value), c.found)
        << c.section << "/" << c.key;
    if (c.found) {
      EXPECT_EQ(value, c.value) << c.section << "/" << c.key;
    }
  }
}

TEST(ProfileText, WritingKeepsEveryOtherLine) {
  const std::string text = "; comment\n[InternetShortcut]\nURL=old\nHotKey=0\n\n[Extra]\nx=1";
  EXPECT_EQ(WriteProfileValue(text, "internetshortcut", "url", "new"),
            "; comment\n[InternetShortcut]\nURL=new\nHotKey=0\n\n[Extra]\nx=1");
  EXPECT_EQ(WriteProfileValue(text, "InternetShortcut", "IconFile", "f"),
            "; comment\n[InternetShortcut]\nURL=old\nHotKey=0\nIconFile=f\r\n\n[Extra]\nx=1");
  EXPECT_EQ(WriteProfileValue(text, "New", "k", "v"), text + "\r\n[New]\r\nk=v\r\n");
  EXPECT_EQ(WriteProfileValue("", "DEFAULT", "BASEURL", "u"), "[DEFAULT]\r\nBASEURL=u\r\n");
}

TEST(ProfileString, FileRoundTripAndLimits) {
  testing::TestEnvironment env;
  const std::string file = env.Path("a.url");
  EXPECT_EQ(GetProfileString(file, "InternetShortcut", "URL", "none"), "none");
  ASSERT_TRUE(WriteProfileString(file, "DEFAULT", "BASEURL", "http://x/"));
  ASSERT_TRUE(WriteProfileString(file, "InternetShortcut", "URL", "http://x/"));
  std::string text;
  ASSERT_TRUE(ReadWholeFile(file, text));
  const auto defaults = text.find("[DEFAULT]"), shortcut = text.find("[InternetShortcut]");
  ASSERT_NE(defaults, std::string::npos);
  ASSERT_NE(shortcut, std::string::npos);
  EXPECT_LT(defaults, shortcut);  // sections in the order written
  EXPECT_EQ(GetProfileString(file, "internetshortcut", "url", ""), "http://x/");

  const std::string long_value(3000, 'u');
  ASSERT_TRUE(WriteProfileString(file, "InternetShortcut", "URL", long_value));
  EXPECT_EQ(GetProfileString(file, "InternetShortcut", "URL", ""), std::string(2047, 'u'));
  EXPECT_EQ(GetProfileString(file, "DEFAULT", "BASEURL", ""), "http://x/");

  EXPECT_FALSE(WriteProfileString(env.Path("no-such-folder") + "/b.url", "S", "K", "V"));
}

TEST(InternetShortcut, IsWrittenWholeOrNotAtAll) {
  testing::TestEnvironment env;
  const std::string file = env.Path("News.url");
  for (const char* fault : {"write:1:.url", "write:2:.url"}) {
    SetEnv(kPlatformFaultVariable, fault);
    try {
      WriteShortcut(file, "http://news/");
    } catch (const Exception&) {
    }
    if (PathExists(file)) {
      EXPECT_EQ(ReadShortcutURL(file), "http://news/") << fault;
      EXPECT_EQ(GetProfileString(file, "DEFAULT", "BASEURL", ""), "http://news/") << fault;
    }
    ASSERT_TRUE(!PathExists(file) || DeleteFileAt(file));
  }
  // A change that fails leaves the old file, lines of its own included.
  UnsetEnv(kPlatformFaultVariable);
  const std::string old = "[InternetShortcut]\r\nURL=http://old/\r\nIconIndex=3\r\n";
  ASSERT_TRUE(WriteFileAtomically(file, old));
  SetEnv(kPlatformFaultVariable, "write:1:.url");
  EXPECT_THROW(WriteShortcut(file, "http://new/"), Exception);
  std::string text;
  ASSERT_TRUE(ReadWholeFile(file, text));
  EXPECT_EQ(text, old);
}

}  // namespace
}  // namespace kestro::platform
