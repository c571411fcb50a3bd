#include "favorites/favorites_ns.h"

#include <gtest/gtest.h>

#include "base/exception.h"
#include "favorites/bookmark_lines.h"
#include "bookmark_reader.h"
#include "platform/file_system.h"
#include "store_builder.h"
#include "support/test_environment.h"

namespace kestro {
namespace {

using testing::Item;
using testing::ReadBookmarkTree;
using testing::StoreTree;

constexpr const char* kDocType = "<!DOCTYPE NETSCAPE-Bookmark-file-1>";

std::vector<std::string> SplitCrLf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0, end;
  while ((end = text.find("\r\n", start)) != std::string::npos) {
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  EXPECT_EQ(start, text.size()) << "the file does not end with CR LF";
  return lines;
}

std::vector<std::string> SplitLf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0, end;
  while ((end = text.find('\n', start)) != std::string::npos) {
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

std::string Message(const std::function<void()>& action) {
  try {
    action();
  } catch (const Exception& e) {
    return e.Message();
  }
  return "(no error)";
}

class FavoritesNSTest : public ::testing::Test {
 protected:
  std::string Fixture(const std::string& name) {
    std::string text;
    EXPECT_TRUE(platform::ReadWholeFile(
        platform::NativePath(std::string(KESTRO_SOURCE_DIR) + "/tests/data/bookmarks/" + name),
        text))
        << name;
    return text;
  }
  void Write(const std::string& text) { ASSERT_TRUE(platform::WriteFileAtomically(file_, text)); }
  std::string Text() {
    std::string text;
    platform::ReadWholeFile(file_, text);
    return text;
  }
  // The file as the independent reader sees it must be the store's list.
  void ExpectFileMatchesStore(const TFavoritesNS& store) {
    EXPECT_EQ(ReadBookmarkTree(Text()), StoreTree(store));
  }

  testing::TestEnvironment env_;
  std::string file_ = env_.Path("bookmarks.htm");
};

TEST_F(FavoritesNSTest, BrowserExportsLoadIntoTheirTree) {
  for (const char* name : {"firefox.html", "chrome.html"}) {
    const std::string text = Fixture(name);
    Write(text);
    TFavoritesNS store(file_);
    EXPECT_EQ(StoreTree(store), ReadBookmarkTree(text)) << name;
    for (int i = 0; i < store.Count(); ++i) {
      const FavoriteItem& item = *store.Items(i);
      if (item.Level == 0) {
        EXPECT_EQ(item.Parent, 0) << name << " " << i;
      }
      if (item.Level > 0) {
        const FavoriteItem& parent = *store.Items(item.Parent);
        EXPECT_EQ(parent.Level + 1, item.Level) << name << " " << i;
        EXPECT_EQ(parent.isUrl, 0) << name << " " << i;
      }
      EXPECT_EQ(item.isVisible, 1);
    }
  }
  TFavoritesNS chrome(file_);  // the Chrome export, loaded last
  EXPECT_EQ(chrome.FindPath("\\Other bookmarks\\Work"), 5);
  EXPECT_EQ(chrome.FindPath("\\Work"), 8);
  EXPECT_EQ(chrome.Items(3)->URLText(), "https://intranet.example/?q=a&amp;r=b");
  EXPECT_EQ(chrome.Items(3)->NameText(), "Intranet &lt;home&gt;");
  EXPECT_EQ(Text(), Fixture("chrome.html"));  // loading writes nothing
}

TEST_F(FavoritesNSTest, EditsLeaveEveryOtherLineAsItWas) {
  const std::string original = Fixture("firefox.html");
  Write(original);
  std::vector<std::string> expected = SplitLf(original);
  TFavoritesNS store(file_);
  auto line_of = [&](const std::string& needle) {
    for (std::size_t i = 0; i < expected.size(); ++i) {
      if (expected[i].find(needle) != std::string::npos) return i;
    }
    ADD_FAILURE() << needle;
    return std::size_t{0};
  };
  auto check = [&](const char* step) {
    EXPECT_EQ(SplitCrLf(Text()), expected) << step;
    ExpectFileMatchesStore(store);
  };

  store.DeleteFavorite("\\News\\My News");
  expected.erase(expected.begin() + static_cast<long>(line_of(">My News<")));
  check("delete a favourite");

  store.AddFavorite("\\Bookmarks Toolbar\\Daily", Item("Added", 2, true, "https://added.example/"));
  expected.insert(
      expected.begin() + static_cast<long>(line_of("toolbar-daily")),
      "            <DT><A HREF=\"https://added.example/\" ADD_DATE=\"0\" LAST_VISIT=\"0\" "
      "LAST_MODIFIED=\"0\">Added</A>");
  check("add into the second folder named Daily");

  FavoriteItem renamed = Item("Today", 1, false, "daily");
  store.ChangeFolder("\\Bookmarks Toolbar", renamed);
  expected[line_of("1700000011")] =
      "        <DT><H3 ADD_DATE=\"1700000011\" LAST_MODIFIED=\"1700000012\">Today</H3>";
  check("rename the second Daily");

  const std::size_t empty = line_of(">Empty</H3>");
  expected.erase(expected.begin() + static_cast<long>(empty),
                 expected.begin() + static_cast<long>(empty) + 3);
  store.DeleteFolder("\\Empty");
  check("delete an empty folder");

  FavoriteItem changed = Item("bbc news", 1, true, "https://www.bbc.com/news");
  store.ChangeFavorite("\\News", changed);
  expected.erase(expected.begin() + static_cast<long>(line_of(">BBC News<")));
  expected.insert(
      expected.begin() + static_cast<long>(line_of(">News</H3>")) + 2,
      "        <DT><A HREF=\"https://www.bbc.com/news\" ADD_DATE=\"0\" LAST_VISIT=\"0\" "
      "LAST_MODIFIED=\"0\">bbc news</A>");
  check("change a favourite");

  // The list step drops the folder's own entry; the file keeps a folder that
  // still holds entries, and is not rewritten.
  store.DeleteFolder("\\News");
  EXPECT_EQ(SplitCrLf(Text()), expected);
  EXPECT_TRUE(store.Notices().empty());
}

// Outer [Mid [Inner [Target]], Target, My News], Bar [], Other [Work [Mail]], News
const char* const kNested[] = {
    kDocType,
    "<DL><p>",
    "<DT><H3 ADD_DATE=\"1\">Outer</H3>",
    "<DL><p>",
    "<DT><H3 ADD_DATE=\"1\">Mid</H3>",
    "<DL><p>",
    "<DT><H3 ADD_DATE=\"1\">Inner</H3>",
    "<DL><p>",
    "<DT><A HREF=\"http://deep/\">Target</A>",
    "</DL><p>",
    "</DL><p>",
    "<DT><A HREF=\"http://mine/\">Target</A>",
    "<DT><A HREF=\"http://mynews/\">My News</A>",
    "</DL><p>",
    "<DT><H3 ADD_DATE=\"1\">Bar</H3>",
    "<DL><p>",
    "</DL><p>",
    "<DT><H3 ADD_DATE=\"1\">Other</H3>",
    "<DL><p>",
    "<DT><H3 ADD_DATE=\"1\">Work</H3>",
    "<DL><p>",
    "<DT><A HREF=\"http://w/\">Mail</A>",
    "</DL><p>",
    "</DL><p>",
    "<DT><A HREF=\"http://top/\">News</A>",
    "</DL><p>",
};

TEST_F(FavoritesNSTest, ScansCompareWholeTitlesAndStayInTheirFolder) {
  std::vector<std::string> lines(std::begin(kNested), std::end(kNested));
  std::string text;
  for (auto& l : lines) text += l + "\r\n";
  Write(text);
  TFavoritesNS store(file_);
  EXPECT_EQ(store.Count(), 11);

  store.DeleteFavorite("\\Outer\\News");  // "My News" is not "News"
  EXPECT_EQ(Text(), text);
  store.DeleteFavorite("\\Outer\\Inner");  // a folder, and not directly inside
  EXPECT_EQ(Text(), text);
  FavoriteItem mid = Item("Middle", 0, false, "Mid");
  store.ChangeFolder("", mid);  // Mid is not at the top
  EXPECT_EQ(Text(), text);

  store.DeleteFavorite("\\Outer\\Target");  // past the nested folders, not the deep one
  lines.erase(lines.begin() + 11);
  EXPECT_EQ(SplitCrLf(Text()), lines);
  ExpectFileMatchesStore(store);

  // Bar holds no Work: a new one is made inside Bar, Other's Work is untouched.
  store.AddFavorite("\\Bar\\Work", Item("Clock", 2, true, "http://clock/"));
  EXPECT_EQ(
      ReadBookmarkTree(Text()),
      "F Outer\n  F Mid\n    F Inner\n      L Target http://deep/\n  L My News http://mynews/\n"
      "F Bar\n  F Work\n    L Clock http://clock/\n"
      "F Other\n  F Work\n    L Mail http://w/\nL News http://top/\n");
  EXPECT_EQ(SplitCrLf(Text())[15], "        <DT><H3 ADD_DATE=\"0\">Work</H3>");
}

TEST_F(FavoritesNSTest, LongUtf8TitlesAreCutWholeAndStillFound) {
  std::string title = "a";
  for (int i = 0; i < 150; ++i) title += "\xC3\xA9";  // 301 bytes of é
  Write(std::string(kDocType) + "\n<DL><p>\n<DT><A HREF=\"http://e/\">" + title +
        "</A>\n</DL><p>\n");
  TFavoritesNS store(file_);
  ASSERT_EQ(store.Count(), 1);
  EXPECT_EQ(store.Items(0)->NameText(), title.substr(0, 255));
  store.DeleteFavorite("\\" + std::string(store.Items(0)->NameText()));
  EXPECT_EQ(ReadBookmarkTree(Text()), "");
}

TEST_F(FavoritesNSTest, AddCreatesMissingFoldersAtTheTop) {
  Write(std::string(kDocType) + "\n<DL><p>\n<DT><A HREF=\"http://a/\">A</A>\n</DL><p>\n");
  TFavoritesNS store(file_);
  store.AddFavorite("\\New\\Sub", Item("Link", 2, true, "http://l/"));
  EXPECT_EQ(
      SplitCrLf(Text()),
      (std::vector<std::string>{
          kDocType, "<DL><p>", "    <DT><H3 ADD_DATE=\"0\">New</H3>", "    <DL><p>",
          "        <DT><H3 ADD_DATE=\"0\">Sub</H3>", "        <DL><p>",
          "            <DT><A HREF=\"http://l/\" ADD_DATE=\"0\" LAST_VISIT=\"0\" "
          "LAST_MODIFIED=\"0\">Link</A>",
          "        </DL><p>", "    </DL><p>", "<DT><A HREF=\"http://a/\">A</A>", "</DL><p>"}));
  EXPECT_EQ(StoreTree(store), ReadBookmarkTree(Text()));  // the folders made join the list
}

// Endings of every kind, mixed, and an unended last line; a file of lone
// CRs splits as one of LFs.
TEST(BookmarkLines, SplitAtCrLfLfAndLoneCr) {
  using Lines = BookmarkLines;
  EXPECT_EQ(SplitBookmarkLines("a\r\r\nb\n\rc\rd"), (Lines{"a", "", "b", "", "c", "d"}));
  EXPECT_EQ(SplitBookmarkLines("\n\nx\r\n"), (Lines{"", "", "x"}));
  EXPECT_EQ(SplitBookmarkLines("p\rq\r\rr\r"), (Lines{"p", "q", "", "r"}));
  EXPECT_TRUE(SplitBookmarkLines("").empty());
}

TEST_F(FavoritesNSTest, OddFilesLoadAsTheLineRulesSay) {
  struct Case {
    const char* what;
    std::string text;
    const char* tree;
  } cases[] = {
      {"document type on the last line only",
       "<DL><p>\n<DT><A HREF=\"http://a/\">A</A>\n</DL><p>\n" + std::string(kDocType),
       "L A http://a/\n"},
      {"line 0 is never an entry",
       "<DT><A HREF=\"http://zero/\">Zero</A>" + std::string(kDocType) +
           "\n<DT><A HREF=\"http://one/\">One</A>\n",
       "L One http://one/\n"},
      {"lines after the top list are not read",
       std::string(kDocType) + "\n<DL><p>\n<DT><A HREF=\"http://a/\">A</A>\n</DL><p>\n<DT><A "
                               "HREF=\"http://b/\">B</A>\n",
       "L A http://a/\n"},
      {"tags whose last attribute is not quoted, as browsers read them",
       std::string(kDocType) +
           "\n<DL><p>\n    <DT><H3>Plain</H3>\n<DL><p>\n<DT><A HREF=\"http://x/\" PRIVATE=1>x</A>\n"
           "</DL><p>\n<DT><h3 folded>f</h3>\n<DL><p>\n</DL><p>\n</DL><p>\n",
       "F Plain\n  L x http://x/\nF f\n"},
      {"addresses without quotes, as old files write them",
       std::string(kDocType) +
           "\n<DL><p>\n<DT><A HREF=http://u/?a=1>u</A>\n<DT><A HREF = http://v/ ADD_DATE=\"1\">v</A>\n</DL><p>\n",
       "L u http://u/?a=1\nL v http://v/\n"},
      {"lower-case tags load with their addresses",
       std::string(kDocType) +
           "\n<dl><p>\n<dt><h3 add_date=\"1\">f</h3>\n<dl><p>\n<dt><a href=\"http://x/\">x</a>\n"
           "</dl><p>\n</dl><p>\n",
       "F f\n  L x http://x/\n"},
      {"CR-only line ends",
       std::string(kDocType) + "\r<DL><p>\r<DT><A HREF=\"http://a/\">A</A>\r</DL><p>\r",
       "L A http://a/\n"},
      {"over-long title and address are cut to their fields",
       std::string(kDocType) + "\n<DL><p>\n<DT><A HREF=\"" + std::string(1500, 'u') + "\">" +
           std::string(300, 't') + "</A>\n</DL><p>\n",
       nullptr},
  };
  for (const Case& c : cases) {
    Write(c.text);
    TFavoritesNS store(file_);
    if (c.tree) {
      EXPECT_EQ(StoreTree(store), c.tree) << c.what;
    } else {
      ASSERT_EQ(store.Count(), 1) << c.what;
      EXPECT_EQ(store.Items(0)->NameText(), std::string(256, 't'));
      EXPECT_EQ(store.Items(0)->URLText(), std::string(1024, 'u'));
    }
  }
}

TEST_F(FavoritesNSTest, AHeadingWithoutAttributesIsRenamedInPlace) {
  Write(std::string(kDocType) + "\n<DL><p>\n<DT><H3>News</H3>\n<DL><p>\n</DL><p>\n</DL><p>\n");
  TFavoritesNS store(file_);
  auto renamed = NewFavoriteItem();
  renamed->SetName("Daily");
  renamed->SetURL("News");
  ASSERT_TRUE(store.ChangeFolder("", store.Items(0), *renamed));
  EXPECT_NE(Text().find("\r\n<DT><H3>Daily</H3>\r\n"), std::string::npos) << Text();
}

TEST_F(FavoritesNSTest, BadFilesFailWithTheirCodes) {
  EXPECT_EQ(Message([&] { TFavoritesNS store(file_); }),
            "Netscape file not found. Kestro error: 2010");
  Write("<html><body>not bookmarks</body></html>\n");
  EXPECT_EQ(Message([&] { TFavoritesNS store(file_); }),
            "Netscape file not valid. Kestro error: 2010");
  Write("<!doctype netscape-bookmark-file-1>\n<DL><p>\n</DL><p>\n");
  EXPECT_EQ(Message([&] { TFavoritesNS store(file_); }),
            "Netscape file not valid. Kestro error: 2010");
  Write(std::string(kDocType) + "\n<DL><p>\n<DT><A HREF\n</DL><p>\n");
  EXPECT_TRUE(Message([&] { TFavoritesNS store(file_); }).ends_with(" Kestro error: 2005"));
}

TEST_F(FavoritesNSTest, TheFileIsReplacedWholeOrNotAtAll) {
  const std::string folder = env_.Path("sub");
  ASSERT_TRUE(platform::CreateDirectories(folder));
  const std::string file = platform::NativePath(folder + "/bookmarks.htm");
  const std::string text = std::string(kDocType) +
                           "\n<DL><p>\n<DT><A HREF=\"http://a/\">A\xFF\tb</A>\n"
                           "<DT><A HREF=\"http://b/\">B</A>\n</DL><p>\n";
  ASSERT_TRUE(platform::WriteFileAtomically(file, text));
  TFavoritesNS store(file);
  store.DeleteFavorite("\\B");
  std::string written;
  ASSERT_TRUE(platform::ReadWholeFile(file, written));
  EXPECT_EQ(written, std::string(kDocType) +
                         "\r\n<DL><p>\r\n<DT><A HREF=\"http://a/\">A\xFF\tb</A>\r\n</DL><p>\r\n");
  std::vector<platform::DirectoryEntry> entries;
  ASSERT_TRUE(platform::ListDirectory(folder, entries));
  ASSERT_EQ(entries.size(), 1u);  // no temporary file left beside it

  ASSERT_TRUE(platform::DeleteTree(folder));  // the folder is gone: nothing can be written
  const std::string message = Message([&] { store.DeleteFavorite("\\A\xFF\tb"); });
  EXPECT_EQ(message, "Cannot create file " + file + " Kestro error: 2006");
  EXPECT_FALSE(platform::PathExists(folder));
}

TEST_F(FavoritesNSTest, NamesThatWouldNotReadBackAreRefusedBeforeAnythingChanges) {
  const std::string text = std::string(kDocType) +
                           "\r\n<DL><p>\r\n<DT><A HREF=\"http://a/\">A</A>\r\n"
                           "<DT><H3 ADD_DATE=\"1\">F</H3>\r\n<DL><p>\r\n</DL><p>\r\n</DL><p>\r\n";
  Write(text);
  TFavoritesNS store(file_);
  FavoriteItem broken = Item("A", 0, true, "http://a/\r\n</DL><p>");
  store.ChangeFavorite("", broken);  // refused before the old link goes
  for (const char* name : {"x\ny", "a</b", "x</DL><p>y", "x<DT><H3 y", "<dl><p>"}) {
    store.AddFavorite("", Item(name, 0, true, "http://x/"));
  }
  store.AddFavorite("", Item("quote", 0, true, "http://x/?q=\"a\""));
  store.AddFavorite("\\x\ny", Item("z", 1, true, "http://z/"));  // a folder's name
  store.AddFavorite("\\", Item("z", 1, true, "http://z/"));      // a folder without one
  for (const char* name : {"G</H3>", "", "G\r\n</DL><p>"}) {
    FavoriteItem folder = Item(name, 0, false, "F");
    store.ChangeFolder("", folder);
  }
  EXPECT_EQ(Text(), text);
  EXPECT_EQ(store.Count(), 2);
  EXPECT_EQ(store.Notices().size(), 12u);
}

TEST_F(FavoritesNSTest, ListsAreFoundAsBrowsersReadThem) {
  struct Case {
    const char* what;
    std::string text;
    const char* tree;  // after adding "n" at the top and "m" into f
  } cases[] = {
      {"lower-case lists",
       std::string(kDocType) +
           "\n<dl><p>\n<dt><h3 add_date=\"1\">f</h3>\n<dl><p>\n</dl><p>\n</dl><p>\n",
       "L n http://n/\nF f\n  L m http://m/\n"},
      {"a top level without a list of its own",
       std::string(kDocType) +
           "\n<H1>B</H1>\n<DT><H3 ADD_DATE=\"1\">f</H3>\n<DL><p>\n<DT><A HREF=\"http://a/\">a</A>"
           "\n</DL><p>\n",
       "L n http://n/\nF f\n  L m http://m/\n  L a http://a/\n"},
      {"a folder without a list",
       std::string(kDocType) +
           "\n<DL><p>\n<DT><H3 ADD_DATE=\"1\">f</H3>\n<DT><A HREF=\"http://a/\">a</A>\n</DL><p>\n"
           "</DL><p>\n",
       "L n http://n/\nF f\n  L a http://a/\n"},
  };
  for (const Case& c : cases) {
    Write(c.text);
    TFavoritesNS store(file_);
    store.AddFavorite("", Item("n", 0, true, "http://n/"));
    store.AddFavorite("\\f", Item("m", 1, true, "http://m/"));
    EXPECT_EQ(StoreTree(TFavoritesNS(file_)), c.tree) << c.what;  // as the next run reads it
    EXPECT_EQ(StoreTree(store), c.tree) << c.what;
    EXPECT_EQ(store.Notices().size(), c.tree == cases[2].tree ? 1u : 0u) << c.what;
  }
}

TEST_F(FavoritesNSTest, DeepNestingLoadsWithoutExhaustingTheStack) {
  constexpr int kDepth = 20000;
  std::string text = std::string(kDocType) + "\n<DL><p>\n";
  for (int i = 0; i < kDepth; ++i) text += "<DT><H3 ADD_DATE=\"0\">f</H3>\n<DL><p>\n";
  text += "<DT><A HREF=\"http://deep/\">deep</A>\n";
  for (int i = 0; i <= kDepth; ++i) text += "</DL><p>\n";
  Write(text);
  TFavoritesNS store(file_);
  ASSERT_EQ(store.Count(), kDepth + 1);
  EXPECT_EQ(store.Items(kDepth)->Level, kDepth);
  EXPECT_EQ(store.Items(kDepth)->Parent, kDepth - 1);
  store.DeleteFolder("\\f");  // not empty: nothing changes
  EXPECT_EQ(Text(), text);
}

TEST_F(FavoritesNSTest, AFileCutShortFailsTheLoadInsteadOfLosingEntries) {
  // 310 favourites in 31 folders, as a browser exports them.
  std::string whole = std::string(kDocType) + "\r\n<TITLE>Bookmarks</TITLE>\r\n<DL><p>\r\n";
  for (int f = 0; f < 31; ++f) {
    whole += "    <DT><H3 ADD_DATE=\"0\">Folder " + std::to_string(f) + "</H3>\r\n    <DL><p>\r\n";
    for (int l = 0; l < 10; ++l) {
      whole += "        <DT><A HREF=\"http://f" + std::to_string(f) + ".example/" +
               std::to_string(l) + "\">Link " + std::to_string(l) + "</A>\r\n";
    }
    whole += "    </DL><p>\r\n";
  }
  whole += "</DL><p>\r\n";
  Write(whole);
  EXPECT_EQ(TFavoritesNS(file_).Count(), 341);
  Write(whole.substr(0, whole.size() - 2));  // no line end after the last closing
  EXPECT_EQ(TFavoritesNS(file_).Count(), 341);
  Write(whole.substr(0, whole.size() - 10) + "</DL>\n");  // the top list closed as Firefox does
  EXPECT_EQ(TFavoritesNS(file_).Count(), 341);

  // Cut in the middle, at 90 %, inside the last link, after the last folder,
  // and inside the top list's closing.
  const std::size_t last_folder_end = whole.rfind("    </DL><p>\r\n") + 14;
  for (std::size_t cut : {whole.size() / 2, whole.size() * 9 / 10, last_folder_end - 30,
                          last_folder_end, whole.size() - 8}) {
    const std::string text = whole.substr(0, cut);
    Write(text);
    EXPECT_TRUE(
        Message([&] { TFavoritesNS store(file_); }).ends_with("cut short. Kestro error: 2010"))
        << "cut at " << cut;
    EXPECT_EQ(Text(), text);
  }
  // A top level without a list of its own can only show its cut in the line.
  const std::string listless = std::string(kDocType) + "\n<DT><A HREF=\"http://a/\">A</A>\n";
  Write(listless);
  EXPECT_EQ(TFavoritesNS(file_).Count(), 1);
  Write(listless.substr(0, listless.size() - 4));
  EXPECT_TRUE(
      Message([&] { TFavoritesNS store(file_); }).ends_with("cut short. Kestro error: 2010"));
}

}  // namespace
}  // namespace kestro
