#include "favorites/favorites_ie.h"

#include <gtest/gtest.h>

#include "base/exception.h"
#include "favorites/internet_shortcut.h"
#include "platform/file_system.h"
#include "platform/process_paths.h"
#include "store_builder.h"
#include "support/test_environment.h"

namespace kestro {
namespace {

using testing::Item;

class FavoritesIETest : public ::testing::Test {
 protected:
  testing::TestEnvironment env_;
  std::string root_ = env_.Path("Favorites");
  std::string P(const std::string& relative) const {  // a native path below the root
    std::string path = root_ + "/" + relative;
    return platform::NativePath(path == root_ + "/" ? root_ : path);
  }
  void Shortcut(const std::string& relative, const std::string& url) {
    std::string path = P(relative);
    platform::CreateDirectories(platform::FolderOf(path));
    ASSERT_TRUE(platform::WriteFileAtomically(path, "[InternetShortcut]\r\nURL=" + url + "\r\n"));
  }
  void Plain(const std::string& relative) {
    platform::CreateDirectories(platform::FolderOf(P(relative)));
    ASSERT_TRUE(platform::WriteFileAtomically(P(relative), "x"));
  }
  std::vector<std::string> Listing(const std::string& relative) {
    std::vector<platform::DirectoryEntry> entries;
    platform::ListDirectory(P(relative), entries);
    std::vector<std::string> names;
    for (auto& e : entries) names.push_back(e.name);
    return names;
  }
};

TEST_F(FavoritesIETest, MissingFolderFailsWithItsCode) {
  try {
    TFavoritesIE store(root_);
    FAIL() << "constructed";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Internet Explorer favorites folder does not exist. Kestro error: 1001");
  }
  ASSERT_TRUE(platform::CreateDirectories(root_));
  TFavoritesIE empty(root_);
  EXPECT_EQ(empty.Count(), 0);
}

TEST_F(FavoritesIETest, LoadsTheTreeInFolderOrder) {
  Shortcut("Links.URL", "http://links/");
  Plain("notes.txt");
  Plain("desktop.ini");
  Plain("README");
  Shortcut("Old.url/inner.url", "http://inner/");
  Shortcut("news/bbc.url", "http://bbc/");
  Shortcut("news/Sport/Scores.url", "http://scores/");
  ASSERT_TRUE(
      platform::WriteFileAtomically(P("news/NoSection.url"), "[Other]\r\nURL=http://no/\r\n"));
  ASSERT_TRUE(platform::WriteFileAtomically(
      P("long.url"), "[InternetShortcut]\nURL=" + std::string(1500, 'u') + "\n"));

  TFavoritesIE store(root_);
  struct Expected {
    const char* name;
    int level, parent, is_url;
    const char* url;
  } expected[] = {
      {"Links", 0, -1, 1, "http://links/"},
      {nullptr, 0, -1, 1, nullptr},
      {"news", 0, -1, 0, ""},
      {"bbc", 1, 2, 1, "http://bbc/"},
      {"NoSection", 1, 2, 1, ""},
      {"Sport", 1, 2, 0, ""},
      {"Scores", 2, 5, 1, "http://scores/"},
      {"Old.url", 0, -1, 0, ""},
      {"inner", 1, 7, 1, "http://inner/"},
  };
  ASSERT_EQ(store.Count(), 9);
  for (int i = 0; i < 9; ++i) {
    const FavoriteItem& item = *store.Items(i);
    const Expected& e = expected[i];
    if (e.name) {
      EXPECT_EQ(item.NameText(), e.name) << i;
      EXPECT_EQ(item.URLText(), e.url) << i;
    } else {  // an over-long address, cut to its field
      EXPECT_EQ(item.NameText(), "long");
      EXPECT_EQ(item.URLText(), std::string(1024, 'u'));
    }
    EXPECT_EQ(item.Level, e.level) << i;
    EXPECT_EQ(item.Parent, e.parent) << i;
    EXPECT_EQ(item.isUrl, e.is_url) << i;
    EXPECT_EQ(item.isVisible, 1) << i;
    EXPECT_EQ(item.isClosed + item.isNew + item.isDeleted + item.isModified + item.RecID, 0) << i;
  }
}

TEST_F(FavoritesIETest, AddAndChangeWriteShortcutFiles) {
  ASSERT_TRUE(platform::CreateDirectories(root_));
  TFavoritesIE store(root_);
  store.AddFavorite("\\Work\\Tools", Item("Search", 2, true, "http://search/"));
  EXPECT_EQ(store.Count(), 3);  // the folders made on the way join the list
  EXPECT_EQ(ReadShortcutURL(P("Work/Tools/Search.url")), "http://search/");
  std::string text;
  ASSERT_TRUE(platform::ReadWholeFile(P("Work/Tools/Search.url"), text));
  EXPECT_LT(text.find("BASEURL=http://search/"), text.find("[InternetShortcut]"));

  FavoriteItem renamed = Item("Finder", 2, true, "http://find/");
  store.ChangeFavorite("\\Work\\Tools", renamed);
  EXPECT_EQ(ReadShortcutURL(P("Work/Tools/Finder.url")), "http://find/");
  EXPECT_EQ(ReadShortcutURL(P("Work/Tools/Search.url")),
            "http://search/");  // found by current name only

  FavoriteItem changed = Item("finder", 2, true, "http://find2/");
  store.ChangeFavorite("\\work\\tools", changed);  // names are case-blind, as on NTFS
  EXPECT_EQ(Listing("Work/Tools"), (std::vector<std::string>{"finder.url", "Search.url"}));
  EXPECT_EQ(ReadShortcutURL(P("Work/Tools/finder.url")), "http://find2/");
}

TEST_F(FavoritesIETest, DeletesRemoveOnlyWhatIsTheirs) {
  Shortcut("Keep/a.url", "http://a/");
  Plain("Keep/notes.txt");
  ASSERT_TRUE(platform::CreateDirectories(P("Empty")));
  TFavoritesIE store(root_);
  store.DeleteFavorite("\\Keep\\A");
  store.DeleteFolder("\\Keep");  // still holds notes.txt: stays
  store.DeleteFolder("\\empty");
  store.DeleteFavorite("\\Keep\\missing");
  EXPECT_EQ(Listing(""), std::vector<std::string>{"Keep"});
  EXPECT_EQ(Listing("Keep"), std::vector<std::string>{"notes.txt"});
  EXPECT_EQ(store.Count(), 0);  // Keep, a and Empty left the list
}

TEST_F(FavoritesIETest, ChangeFolderRenamesButNeverOverAnotherFolder) {
  Shortcut("Old/a.url", "http://a/");
  Shortcut("Other/b.url", "http://b/");
  TFavoritesIE store(root_);
  FavoriteItem renamed = Item("New", 0, false, "old");
  store.ChangeFolder("", renamed);
  EXPECT_EQ(Listing(""), (std::vector<std::string>{"New", "Other"}));
  EXPECT_EQ(store.FindPath("\\New"), 0);
  FavoriteItem onto = Item("Other", 0, false, "New");
  store.ChangeFolder("", onto);
  EXPECT_EQ(Listing("New"), std::vector<std::string>{"a.url"});
  EXPECT_EQ(Listing("Other"), std::vector<std::string>{"b.url"});
}

TEST_F(FavoritesIETest, NamesLeavingTheFolderAreSkippedWithANotice) {
  Shortcut("Inside/a.url", "http://a/");
  Shortcut("victim.url", "http://victim/");
  TFavoritesIE store(root_);
  const int count = store.Count();
  store.AddFavorite("\\Inside", Item("..\\..\\escaped", 1, true, "http://x/"));
  store.AddFavorite("\\..", Item("up", 1, true, "http://x/"));
  store.AddFavorite("", Item("C:evil", 0, true, "http://x/"));
  store.AddFavorite("", Item("a/b", 0, true, "http://x/"));
  store.AddFavorite("", Item("line", 0, true, "http://x/\r\n[DEFAULT]"));
  FavoriteItem broken = Item("victim", 0, true, "http://x/\r\nURL=http://evil/");
  store.ChangeFavorite("", broken);  // refused before the old file goes
  // Deletions act only on entries the store read, so a path that names none
  // changes nothing.
  store.DeleteFavorite("\\Inside\\..\\victim");
  store.DeleteFolder("\\Inside\\..");
  FavoriteItem rename = Item("..", 0, false, "Inside");
  store.ChangeFolder("", rename);
  EXPECT_EQ(store.Notices().size(), 7u);
  EXPECT_EQ(store.Count(), count);
  EXPECT_EQ(Listing(""), (std::vector<std::string>{"Inside", "victim.url"}));
  EXPECT_EQ(Listing("Inside"), std::vector<std::string>{"a.url"});
  EXPECT_EQ(ReadShortcutURL(P("victim.url")), "http://victim/");
  for (const std::string& name : Listing(".."))
    EXPECT_EQ(name.find(".url"), std::string::npos) << name;
  EXPECT_NE(store.Notices()[0].find("left alone"), std::string::npos);
  EXPECT_EQ(store.TakeNotices().size(), 7u);
  EXPECT_TRUE(store.Notices().empty());
}

TEST_F(FavoritesIETest, UnwritableShortcutFailsWithItsCode) {
  ASSERT_TRUE(platform::CreateDirectories(P("Taken.url")));
  ASSERT_TRUE(platform::CreateDirectories(P("Blocked")));
  TFavoritesIE store(root_);
  try {
    store.AddFavorite("", Item("Taken", 0, true, "http://x/"));
    FAIL() << "wrote over a folder";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message().rfind("Unable to write to ", 0), 0u) << e.Message();
    EXPECT_TRUE(e.Message().ends_with(" Kestro error: 1005")) << e.Message();
  }
  try {
    FavoriteItem item = Item("Taken", 0, true, "http://y/");
    store.ChangeFavorite("", item);
    FAIL() << "wrote over a folder";
  } catch (const Exception& e) {
    EXPECT_TRUE(e.Message().ends_with(" Kestro error: 1005")) << e.Message();  // the innermost code
  }
}

// The store looks names up in each folder's listing of the run; a file
// another program puts there afterwards is still never written over.
TEST_F(FavoritesIETest, AFileMadeAfterTheFolderWasListedIsKept) {
  ASSERT_TRUE(platform::CreateDirectories(P("News")));
  TFavoritesIE store(root_);
  store.AddFavorite("\\News", Item("First", 1, true, "http://first/"));
  Shortcut("News/Late.url", "http://theirs/");
  try {
    // Refused, or (where names come from the run's listing) the write fails.
    store.AddFavorite("\\News", Item("Late", 1, true, "http://mine/"));
  } catch (const Exception&) {
  }
  EXPECT_EQ(ReadShortcutURL(P("News/Late.url")), "http://theirs/");
  EXPECT_EQ(ReadShortcutURL(P("News/First.url")), "http://first/");
}

}  // namespace
}  // namespace kestro
