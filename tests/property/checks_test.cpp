// The property test's own parts: each property check fails on an outcome
// that breaks it and passes on its lawful neighbour, the bookmark layouts
// read back as written, and a seed gives the same scenario everywhere.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "property/desktop.h"
#include "property/properties.h"
#include "property/scenario.h"

namespace kestro::property {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

const Tree kNewsX = {Folder(0, "News"), Favorite(1, "x", "http://x/")};

Entry Flagged(Entry e, uint8_t flags) {
  e.status |= flags;
  return e;
}

TEST(PropertyChecks, LostEntry) {
  RunOutcome run{kNewsX, kNewsX, kNewsX, {Folder(0, "News")}, {Folder(0, "News")}};
  EXPECT_THAT(LostEntries(run), ElementsAre(HasSubstr("lost: favourite \"\\NEWS\\X\"")));
  run.desktop_after = kNewsX;  // on one side is not lost
  EXPECT_THAT(LostEntries(run), IsEmpty());
  run.desktop_after = run.handheld_after;
  run.desktop_before = {Folder(0, "News")};  // the desktop deleted it
  EXPECT_THAT(LostEntries(run), IsEmpty());
  run.desktop_before = kNewsX;
  run.handheld_before = {Folder(0, "News"),
                         Flagged(kNewsX[1], testing::kModified)};  // changed on one side only
  EXPECT_THAT(LostEntries(run), ElementsAre(HasSubstr("kept unchanged on the desktop")));
  const Tree twice = {Folder(0, "News"), kNewsX[1], kNewsX[1]};
  EXPECT_THAT(LostEntries({twice, twice, twice, kNewsX, kNewsX}),
              ElementsAre(HasSubstr("now once")));
}

// Two folders of one name, each renamed on one side: neither was kept on
// both, so neither name need survive; the same one renamed on both sides
// leaves the other, which must.
TEST(PropertyChecks, SameNamedSiblingsRenamedOnEitherSide) {
  RunOutcome run{{Folder(0, "Mail"), Folder(0, "Mail")}, {}, {Folder(0, "Mail"), Folder(0, "Mail")}, {}, {}};
  MarkOrigins(run.last, run.desktop_before);
  run.handheld_before = run.last;
  run.handheld_before[0] = Flagged(run.handheld_before[0], testing::kModified);
  run.handheld_before[0].name = "A";
  run.desktop_before[1].name = "B";
  run.handheld_after = run.desktop_after = {Folder(0, "A"), Folder(0, "B")};
  EXPECT_THAT(LostEntries(run), IsEmpty());
  run.desktop_before = run.handheld_before;
  run.desktop_before[0].status = 0;
  EXPECT_THAT(LostEntries(run), ElementsAre(HasSubstr("lost: folder \"\\MAIL\"")));
}

// The handheld renames x to the known name Daily inside News; the desktop
// renamed another folder to News, which holds a Daily. That Daily is in
// another folder than the renamed one, which therefore settles in two runs.
TEST(PropertyChecks, ARenameOntoAKnownNameIsToldApartFromASameNamedFolder) {
  RunOutcome run{{Folder(0, "News"), Favorite(1, "x", "http://x/"), Folder(0, "Mail"),
                  Favorite(1, "Daily", "http://d/")},
                 {}, {}, {}, {}};
  run.desktop_before = run.last;
  MarkOrigins(run.last, run.desktop_before);
  run.handheld_before = run.last;
  run.handheld_before[1] = Flagged(run.handheld_before[1], testing::kModified);
  run.handheld_before[1].name = "Daily";
  EXPECT_TRUE(ChangedOnHandheldDeletedOnDesktop(run));
  run.desktop_before[2].name = "News";
  EXPECT_TRUE(ChangedOnHandheldDeletedOnDesktop(run));
}

// A favourite added on one side is on both sides afterwards. A favourites
// folder holds one file per name: a new handheld favourite of a name the
// folder already holds stays on the handheld only, and a desktop one gives
// way to a new handheld one of its name.
TEST(PropertyChecks, AddedFavoriteReachesBothSides) {
  RunOutcome run{kNewsX, {}, kNewsX, {}, {}, Store::kBookmarkFile};
  MarkOrigins(run.last, run.desktop_before);
  run.handheld_before = run.last;
  run.handheld_before.push_back(Flagged(Favorite(1, "y", "http://y/"), testing::kNew));
  run.handheld_after = run.handheld_before;
  run.desktop_after = kNewsX;
  EXPECT_THAT(LostNewFavorites(run),
              ElementsAre("new lost: favourite \"\\NEWS\\Y\" \"http://y/\" was added once and is "
                          "now 0 times on the desktop"));
  run.desktop_after = run.handheld_after;
  EXPECT_THAT(LostNewFavorites(run), IsEmpty());

  run.handheld_before.back().name = "x";  // a second x on the handheld
  run.handheld_after = run.handheld_before;
  run.desktop_after = kNewsX;
  EXPECT_THAT(LostNewFavorites(run), ElementsAre(HasSubstr("on the desktop")));
  run.store = Store::kFavoritesFolder;
  EXPECT_THAT(LostNewFavorites(run), IsEmpty());
  run.desktop_before.push_back(Favorite(1, "x", "http://desktop/"));  // the same name added on both
  EXPECT_THAT(LostNewFavorites(run), IsEmpty());
}

// A favourite added inside a folder its own side renamed (here nested: News
// to Top, and A inside it to B) ends on both sides under the new names, or
// under the former ones where a rename did not go through.
TEST(PropertyChecks, FavoriteAddedInAFolderItsSideRenamed) {
  const Tree last = {Folder(0, "News"), Folder(1, "A"), Favorite(2, "x", "http://x/")};
  RunOutcome run{last, {}, last, {}, {}, Store::kBookmarkFile};
  MarkOrigins(run.last, run.desktop_before);
  run.handheld_before = run.last;
  for (auto& [at, name] : {std::pair{0, "Top"}, {1, "B"}}) {
    Entry& folder = run.handheld_before[at];
    folder = Flagged(folder, testing::kModified);
    folder.url = folder.name, folder.name = name;
  }
  run.handheld_before.push_back(Flagged(Favorite(2, "y", "http://y/"), testing::kNew));
  const Tree renamed = {Folder(0, "Top"), Folder(1, "B"), last[2], Favorite(2, "y", "http://y/")};
  run.handheld_after = renamed;
  run.desktop_after = {Folder(0, "Top"), Folder(1, "B"), last[2]};
  EXPECT_THAT(LostNewFavorites(run), ElementsAre(HasSubstr("\\TOP\\B\\Y\" \"http://y/\" was added "
                                                           "once and is now 0 times on the desktop")));
  run.desktop_after = renamed;
  EXPECT_THAT(LostNewFavorites(run), IsEmpty());
  run.handheld_after = run.desktop_after = {Folder(0, "Top"), Folder(1, "A"), last[2],
                                            Favorite(2, "y", "http://y/")};  // B refused
  EXPECT_THAT(LostNewFavorites(run), IsEmpty());
  // The desktop renamed News and added y in it: the handheld must get it.
  run.handheld_before = run.last;
  run.desktop_before[0].name = "Top";
  run.desktop_before.push_back(Favorite(2, "y", "http://y/"));
  run.handheld_after = last;
  run.desktop_after = {Folder(0, "Top"), Folder(1, "A"), last[2], Favorite(2, "y", "http://y/")};
  EXPECT_THAT(LostNewFavorites(run), ElementsAre(HasSubstr("now 0 times on the handheld")));
}

TEST(PropertyChecks, FavoriteInForeignFolder) {
  const Tree moved = {Folder(0, "News"), Folder(0, "Other"), Favorite(1, "x", "http://x/")};
  RunOutcome run{kNewsX, kNewsX, kNewsX, moved, kNewsX};
  EXPECT_THAT(
      FavoritesInForeignFolders(run),
      ElementsAre(
          "foreign folder: favourite \"\\OTHER\\X\" \"http://x/\" is on the handheld, and neither "
          "side had it in that folder before"));
  run.desktop_before = moved;  // the desktop moved it
  EXPECT_THAT(FavoritesInForeignFolders(run), IsEmpty());
  run.handheld_after = {Folder(0, "NEWS"),
                        Favorite(1, "X", "http://x/")};  // letters A-Z compare folded
  run.desktop_before = kNewsX;
  EXPECT_THAT(FavoritesInForeignFolders(run), IsEmpty());
  // The handheld renamed News to Top and the folder A inside it to B.
  Entry top = Flagged(Folder(0, "Top"), testing::kModified), b = Flagged(Folder(1, "B"), testing::kModified);
  top.url = "News", b.url = "A";
  run.handheld_before = {top, b};
  run.desktop_before = {Folder(0, "News"), Folder(1, "A"), Favorite(2, "x", "http://x/")};
  run.handheld_after = run.desktop_after = {Folder(0, "Top"), Folder(1, "B"), Favorite(2, "x", "http://x/")};
  EXPECT_THAT(FavoritesInForeignFolders(run), IsEmpty());
}

TEST(PropertyChecks, NewDuplicate) {
  const Tree twice = {Folder(0, "News"), kNewsX[1], kNewsX[1]};
  RunOutcome run{kNewsX, kNewsX, kNewsX, kNewsX, twice};
  EXPECT_THAT(NewDuplicates(run),
              ElementsAre(HasSubstr("is 2 times on the desktop, at most once")));
  run.handheld_before = twice;  // twice on one side before
  EXPECT_THAT(NewDuplicates(run), IsEmpty());
  run.handheld_before = {Folder(0, "News"), kNewsX[1], Flagged(kNewsX[1], testing::kDeleted)};
  EXPECT_THAT(NewDuplicates(run), ElementsAre(HasSubstr("duplicate")));
}

TEST(PropertyChecks, FirstRunCopiesTheDesktopOnce) {
  EXPECT_THAT(FirstRunDifferences(kNewsX, kNewsX), IsEmpty());
  EXPECT_THAT(FirstRunDifferences(kNewsX, {Folder(0, "News")}), ElementsAre(HasSubstr("lost")));
  EXPECT_THAT(FirstRunDifferences(kNewsX, {Folder(0, "News"), kNewsX[1], Folder(0, "News")}),
              ElementsAre(HasSubstr("first run duplicate: folder \"\\NEWS\"")));
}

TEST(PropertyChecks, SecondRunChange) {
  EXPECT_EQ(FirstDifference("a\nb\n", "a\nb\n"), "");
  EXPECT_EQ(FirstDifference("a\nb\nc\n", "a\nB\nc\n"), "second run changed: \"b\" became \"B\"");
}

TEST(PropertyChecks, ParentNamesItsFolder) {
  std::vector<testing::HandheldRecord> records = {{"News", 0, testing::kDir, "", 0, 7},
                                                  {"x", 1, testing::kFav, "http://x/", 7, 8}};
  EXPECT_EQ(testing::TreeProblem(records), "");
  records[1].parent = 8;
  EXPECT_NE(testing::TreeProblem(records), "");
}

TEST(PropertyChecks, BookmarkLayoutsReadBackAsWritten) {
  const Tree tree = {Folder(0, "A"),
                     Favorite(1, "x", "http://x/"),
                     Favorite(1, "x", "http://x/"),
                     Folder(1, "AC\\DC"),
                     Folder(2, "empty"),
                     Folder(0, "A"),
                     Favorite(1, "say \"hi\"", "http://a/?b=1&c=2"),
                     Favorite(0, "top", "")};
  for (BookmarkStyle style :
       {BookmarkStyle::kExport, BookmarkStyle::kLowerCase, BookmarkStyle::kNoTopList}) {
    Scenario scenario;
    scenario.store = Store::kBookmarkFile;
    scenario.style = style;
    const std::string file = ::testing::TempDir() + "property-bookmarks.htm";
    WriteDesktop(scenario, file, tree);
    EXPECT_EQ(Describe(ReadDesktop(Store::kBookmarkFile, file)), Describe(tree))
        << static_cast<int>(style);
  }
}

// The generator is the same on every platform: these values were drawn once.
TEST(PropertyChecks, SeedGivesTheSameScenarioEverywhere) {
  const Scenario scenario = MakeScenario(1, Store::kBookmarkFile, {});
  EXPECT_EQ(ShowScenario(scenario),
            "seed 1, bookmark-file (lower-case), items 1606, depth 2, edits 40");
  Prng rng(scenario.stream);
  Tree tree = GenerateDesktop(rng, scenario);
  EXPECT_EQ(Describe(Tree(tree.begin(), tree.begin() + 2)),
            "L \"item340894\" \"http://site501.example/p98052\"\nL \"Docs\" "
            "\"http://site215.example/p49036\"\n");
  const std::vector<std::string> edits = EditHandheld(rng, scenario, tree);
  ASSERT_EQ(edits.size(), 18u);
  EXPECT_EQ(edits[1],
            "handheld: change the address of favourite \"\\ITEM598753\\ITEM992378\" "
            "\"http://site690.example/p4900\" to favourite \"\\ITEM598753\\ITEM992378\" "
            "\"http://site554.example/p8337\"");
}

}  // namespace
}  // namespace kestro::property
