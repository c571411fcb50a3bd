#include "favorites/favorites_base.h"

#include <gtest/gtest.h>

#include "store_builder.h"

namespace kestro {
namespace {

using testing::Item;
using testing::ListStore;

// A(0) [X(1) [x1], a1], B(0) [], C(0) [X(1) [Deep(2) [d1]], c1], top1
void Fill(ListStore& s) {
  s.Folder("A", 0).Folder("X", 1).Link("x1", 2).Link("a1", 1);
  s.Folder("B", 0);
  s.Folder("C", 0).Folder("X", 1).Folder("Deep", 2).Link("d1", 3).Link("c1", 1);
  s.Link("top1", 0);
}

TEST(FavoritesBase, FindPathLooksInsideTheParent) {
  ListStore s;
  EXPECT_EQ(s.FindPath(""), 0);  // also for an empty store
  Fill(s);
  struct Case {
    const char* path;
    int index;
  } cases[] = {
      {"", 0},       {"\\A", 0},     {"\\a", 0},          {"\\B", 4},
      {"\\A\\X", 1}, {"\\C\\X", 6},  {"\\c\\x\\DEEP", 7}, {"\\B\\X", -1},  // not C's X
      {"\\X", -1},   {"\\top1", -1}, {"\\A\\a1", -1},     {"\\Z", -1},
      {"\\", -1},    {"A", -1},      {"\\C\\Deep", -1},
  };
  for (const Case& c : cases) EXPECT_EQ(s.FindPath(c.path), c.index) << "path: " << c.path;
}

TEST(FavoritesBase, FindPathTakesTheFirstFolderOfANameAndFoldsOnlyAsciiLetters) {
  ListStore s;
  s.Link("A", 0).Folder("a", 0).Folder("A", 0).Folder("\xC3\xA9t\xC3\xA9", 0);
  EXPECT_EQ(s.FindPath("\\A"), 1);
  EXPECT_EQ(s.FindPath("\\\xC3\xA9t\xC3\xA9"), 3);
  EXPECT_EQ(s.FindPath("\\\xC3\x89T\xC3\x89"), -1);  // É is not folded
}

TEST(FavoritesBase, GetFolderItemsStampsOnlyDirectChildren) {
  ListStore s;
  FavoriteItemView none = s.GetFolderItems("", 9);
  EXPECT_TRUE(none.empty());
  Fill(s);
  EXPECT_TRUE(s.GetFolderItems("\\Nowhere", 9).empty());
  EXPECT_TRUE(s.GetFolderItems("\\B", 9).empty());

  FavoriteItemView items = s.GetFolderItems("\\C\\X", 77);
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0]->NameText(), "Deep");
  EXPECT_EQ(items[0]->Parent, 77);
  EXPECT_EQ(s.Items(8)->Parent, 0);  // d1, deeper: not stamped

  items = s.GetFolderItems("", 5);
  std::string names;
  for (auto* item : items)
    names += std::string(item->NameText()) + (item->Parent == 5 ? "" : "!") + " ";
  EXPECT_EQ(names, "A B C top1 ");
  items = s.GetFolderItems("\\C", 6);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[1]->NameText(), "c1");
}

TEST(FavoritesBase, AddFavoriteBecomesTheFolderFirstEntry) {
  ListStore s;
  Fill(s);
  s.AddFavorite("", Item("new-top", 0, true));
  EXPECT_EQ(s.Items(0)->NameText(), "new-top");
  s.AddFavorite("\\C\\X", Item("in-x", 2, true));
  EXPECT_EQ(s.Names(), "new-top,A,X,x1,a1,B,C,X,in-x,Deep,d1,c1,top1");
  s.AddFavorite("\\Nowhere", Item("made", 1, true));  // the missing folder is made first
  EXPECT_EQ(s.Names(), "Nowhere,made,new-top,A,X,x1,a1,B,C,X,in-x,Deep,d1,c1,top1");
  EXPECT_EQ(s.Items(1)->Level, 1);

  ListStore last;
  last.Link("a", 0).Folder("Empty", 0);
  last.AddFavorite("\\Empty", Item("child", 1, true));
  EXPECT_EQ(last.Names(), "a,Empty,child");
}

TEST(FavoritesBase, DeleteFavoriteRemovesTheFavoriteNotAFolderOfThatPath) {
  ListStore s;
  s.Folder("News", 0).Folder("Daily", 1).Link("Daily", 1).Link("daily", 0);
  FavoriteItem* held = s.Items(2);
  s.DeleteFavorite("\\News\\DAILY");
  EXPECT_EQ(s.Names(), "News,Daily,daily");
  EXPECT_EQ(held->NameText(), "Daily");  // still valid after leaving the list
  s.DeleteFavorite("\\Daily");
  EXPECT_EQ(s.Names(), "News,Daily");
  s.DeleteFavorite("\\News\\Daily");  // only the folder has that path now
  EXPECT_EQ(s.Names(), "News,Daily");
  s.DeleteFolder("\\News\\Daily");
  s.DeleteFolder("");
  EXPECT_EQ(s.Names(), "News");
}

TEST(FavoritesBase, ChangeFavoriteReplacesTheEntryAndKeepsTheOldOne) {
  ListStore s;
  s.Folder("F", 0).Link("bbc", 1);
  FavoriteItem* old_entry = s.Items(1);
  FavoriteItem changed = Item("BBC", 1, true, "http://new");
  s.ChangeFavorite("\\F", changed);
  EXPECT_EQ(s.Count(), 2);
  EXPECT_NE(s.Items(1), old_entry);
  EXPECT_EQ(s.Items(1)->URLText(), "http://new");
  EXPECT_EQ(old_entry->URLText(), "http://bbc");

  FavoriteItem folder = Item("F", 0, false);
  s.ChangeFavorite("", folder);  // not a favourite: nothing
  EXPECT_EQ(s.Items(0)->isUrl, 0);
}

TEST(FavoritesBase, ChangeFolderRenamesByFormerName) {
  ListStore s;
  s.Folder("Old", 0).Link("x", 1);
  FavoriteItem renamed = Item("New", 0, false, "old");
  renamed.Level = 5;
  s.ChangeFolder("", renamed);
  EXPECT_EQ(s.Items(0)->NameText(), "New");
  EXPECT_EQ(s.Items(0)->Level, 0);
  EXPECT_EQ(s.Items(0)->URLText(), "");
  EXPECT_EQ(s.FindPath("\\New"), 0);  // the lookup sees the new name

  FavoriteItem as_url = Item("Other", 0, true, "New");
  s.ChangeFolder("", as_url);
  EXPECT_EQ(s.Items(0)->NameText(), "New");
}

// Edits between lookups move entries; each edit must still find its folder
// where it is now, and an entry that left the list must not be found.
TEST(FavoritesBase, EditsFindTheirFolderWhereverEarlierEditsMovedIt) {
  ListStore s;
  s.Folder("A", 0).Link("a1", 1);
  EXPECT_FALSE(s.Changed());
  s.GetFolderItems("", 0);  // an index built before the edits
  FavoriteItem* f = s.AddFolder("\\F", nullptr, "F");
  EXPECT_TRUE(s.Changed());
  s.AddFavorite("\\F", f, Item("f1", 1, true));
  FavoriteItem* g = s.AddFolder("\\G", nullptr, "G");  // F moves down
  s.AddFavorite("\\F", f, Item("f2", 1, true));
  s.AddFavorite("\\G", g, Item("g1", 1, true));
  FavoriteItem* a = s.Items(5);
  s.AddFavorite("\\A", a, Item("a0", 1, true));
  EXPECT_EQ(s.Names(), "G,g1,F,f2,f1,A,a0,a1");
  EXPECT_EQ(s.GetFolderItems(f, 0).size(), 2u);

  FavoriteItem* f2 = s.Items(3);
  s.DeleteFavorite("\\F\\f2", f2);
  s.DeleteFavorite("\\F\\f2", f2);  // gone already: nothing
  EXPECT_EQ(s.AddFavorite("\\F\\f2", f2, Item("x", 2, true)), nullptr);  // not in the list
  EXPECT_EQ(s.Names(), "G,g1,F,f1,A,a0,a1");
}

}  // namespace
}  // namespace kestro
