// The reconciliation against an in-memory handheld and store: the cases of
// the two decision tables, the walk order, and the places where the walk
// keeps records and trees whole (renamed folders, dropped folders, broken
// order, a folder meeting a favourite of its name).
#include "engine/reconciliation.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/exception.h"
#include "engine/engine_fakes.h"
#include "engine/tree_order.h"

namespace kestro::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr uint8_t kUrl = 1, kVisible = 4, kNew = 8, kDeleted = 16, kModified = 32;
constexpr uint8_t kFav = kUrl | kVisible, kDir = kVisible;

class ReconciliationTest : public ::testing::Test {
 protected:
  void Run() {
    RepairTreeOrder(pdb);
    StateIndex state(reg);
    Reconciliation(pdb, store, state, handheld).Run();
    EXPECT_EQ(TreeProblem(handheld.records), "");
  }
  FavoriteItemList pdb, reg;
  MemoryStore store;
  MemoryHandheld handheld;
};

TEST_F(ReconciliationTest, EmptyHandheldTakesDesktopFolderAndItsContents) {
  store.Folder(0, "A").Favorite(1, "x", "http://x/");
  Run();
  ASSERT_EQ(handheld.records.size(), 2u);
  EXPECT_EQ(handheld.Summary(), (std::vector<std::string>{"A@0:4", "x@1:5"}));
  EXPECT_EQ(handheld.records[0].parent, 0);
  EXPECT_EQ(handheld.records[1].parent, handheld.records[0].id);
  EXPECT_EQ(handheld.records[1].url, "http://x/");
}

TEST_F(ReconciliationTest, WalksFoldersDepthFirstWithOneSharedPosition) {
  store.Folder(0, "F").Favorite(1, "a", "u:a").Favorite(1, "b", "u:b").Favorite(1, "pc", "u:p");
  store.Favorite(0, "c", "u:c").Favorite(0, "top", "u:t");
  pdb.push_back(Loaded(1, 0, "F", kDir));
  pdb.push_back(Loaded(2, 1, "a", kFav, "u:a"));
  pdb.push_back(Loaded(3, 1, "b", kFav, "u:b"));
  pdb.push_back(Loaded(4, 0, "c", kFav, "u:c"));
  for (const char* name : {"a", "b"}) reg.push_back(Known(1, name, true));
  Run();
  // F's pass adds its desktop-only item before the top pass moves on to c;
  // the top pass adds its own last.
  EXPECT_EQ(handheld.Summary(),
            (std::vector<std::string>{"F@0:4", "a@1:5", "b@1:5", "pc@1:5", "c@0:5", "top@0:5"}));
  EXPECT_EQ(handheld.records[3].parent, handheld.records[0].id);
  EXPECT_THAT(store.calls, IsEmpty());
}

struct FateCase {
  const char* label;
  uint8_t status;
  bool on_desktop;
  bool known;
  std::vector<std::string> calls;
  std::vector<std::string> written;  // "name url"
  const char* hand_url = "hand";     // the handheld record's address; the desktop's is "desk"
};

class FavoriteFate : public ReconciliationTest, public ::testing::WithParamInterface<FateCase> {};

TEST_P(FavoriteFate, FollowsTheCaseTables) {
  const FateCase& c = GetParam();
  if (c.on_desktop) store.Favorite(0, "x", "desk");
  pdb.push_back(Loaded(7, 0, "x", c.status, c.hand_url));
  if (c.known) reg.push_back(Known(0, "X", true));
  Run();
  EXPECT_EQ(store.calls, c.calls) << c.label;
  std::vector<std::string> written;
  for (const Record& r : handheld.records) {
    written.push_back(r.name + " " + r.url);
    EXPECT_EQ(r.status, kFav) << c.label << ": edit marks are cleared on the handheld";
  }
  EXPECT_EQ(written, c.written) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FavoriteFate,
    ::testing::Values(
        FateCase{"[2] unchanged, desktop never had it", kFav, false, false, {"AddFavorite |x"}, {"x hand"}},
        FateCase{"[7][8] deleted on the desktop", kFav, false, true, {}, {}},
        FateCase{"[7][8] changed on the handheld, deleted on the desktop", kFav | kModified, false, true,
                 {"ChangeFavorite |x"}, {}},
        FateCase{"[5][10] new on the handheld", kFav | kNew, false, false, {"AddFavorite |x"}, {"x hand"}},
        FateCase{"[15][20] new on the handheld over a desktop one", kFav | kNew, true, false,
                 {"ChangeFavorite |x"}, {"x hand"}},
        FateCase{"[4][9][14][19] changed on the handheld", kFav | kModified, true, true, {"ChangeFavorite |x"},
                 {"x hand"}},
        FateCase{"[17] unchanged on both sides: desktop version", kFav, true, true, {}, {"x desk"}},
        FateCase{"[12][13] unknown to the state: desktop version", kFav, true, false, {}, {"x desk"}},
        FateCase{"[12][13] deletion the state does not know is undone", kFav | kDeleted, true, false, {},
                 {"x desk"}},
        FateCase{"[18] deleted on the handheld", kFav | kDeleted, true, true, {"DeleteFavorite \\x"}, {}, "desk"},
        FateCase{"deleted on the handheld, another address on the desktop: desktop version", kFav | kDeleted, true,
                 true, {}, {"x desk"}},
        FateCase{"[3] deleted, on neither side", kFav | kDeleted, false, false, {}, {}},
        FateCase{"created and deleted on the handheld does not reach the desktop", kFav | kNew | kDeleted, false,
                 false, {}, {}},
        FateCase{"changed and deleted on the handheld does not come back", kFav | kModified | kDeleted, false, true,
                 {}, {}}));

TEST_F(ReconciliationTest, DesktopOnlyItemsAreAddedWithStatusFive) {
  store.Favorite(0, "mine", "u");
  reg.push_back(Known(0, "mine", true));  // known or not, it is added
  Run();
  EXPECT_EQ(handheld.Summary(), std::vector<std::string>{"mine@0:5"});
}

TEST_F(ReconciliationTest, NamesMatchWithoutCaseAndTheDesktopSpellingIsWritten) {
  store.Favorite(0, "News", "desk");
  pdb.push_back(Loaded(1, 0, "NEWS", kFav, "hand"));
  reg.push_back(Known(0, "news", true));
  Run();
  EXPECT_EQ(handheld.Summary(), std::vector<std::string>{"News@0:5"});
}

TEST_F(ReconciliationTest, FolderRenamedOnHandheldComesOutOnceWithItsContents) {
  store.Folder(0, "Old").Favorite(1, "a", "u:a");
  pdb.push_back(Loaded(1, 0, "New", kDir | kModified, "Old"));
  pdb.push_back(Loaded(2, 1, "a", kFav, "u:a"));
  reg.push_back(Known(0, "Old", false));
  reg.push_back(Known(1, "a", true));
  Run();
  EXPECT_EQ(store.calls, std::vector<std::string>{"ChangeFolder |Old>New"});
  EXPECT_EQ(handheld.Summary(), (std::vector<std::string>{"New@0:4", "a@1:5"}));
  EXPECT_EQ(handheld.records[0].url, "");
  EXPECT_EQ(store.Summary(), (std::vector<std::string>{"New@0", "a@1"}));
}

TEST_F(ReconciliationTest, FolderDeletedOnHandheldIsKeptWhenItsContentsSurvive) {
  store.Folder(0, "F").Favorite(1, "a", "u:a").Favorite(1, "fresh", "u:f");
  pdb.push_back(Loaded(1, 0, "F", kDir | kDeleted));
  pdb.push_back(Loaded(2, 1, "a", kFav, "u:a"));
  reg.push_back(Known(0, "F", false));
  reg.push_back(Known(1, "a", true));
  Run();
  // a is kept by the desktop and fresh is desktop-only: F is written before
  // them, and so it is not deleted from the desktop either.
  EXPECT_EQ(handheld.Summary(), (std::vector<std::string>{"F@0:4", "a@1:5", "fresh@1:5"}));
  EXPECT_THAT(store.calls, IsEmpty());
}

TEST_F(ReconciliationTest, FolderDeletedOnBothSidesTakesItsContentsAlong) {
  store.Folder(0, "F").Favorite(1, "a", "u:a");
  pdb.push_back(Loaded(1, 0, "F", kDir | kDeleted));
  pdb.push_back(Loaded(2, 1, "a", kFav | kDeleted, "u:a"));
  reg.push_back(Known(0, "F", false));
  reg.push_back(Known(1, "a", true));
  Run();
  EXPECT_THAT(handheld.records, IsEmpty());
  EXPECT_EQ(store.calls, (std::vector<std::string>{"DeleteFavorite \\F\\a", "DeleteFolder \\F"}));
}

TEST_F(ReconciliationTest, FolderDeletedOnDesktopKeepsFavouritesNewOnHandheld) {
  pdb.push_back(Loaded(1, 2, "deep", kDir));  // broken order: no folder around it
  pdb.push_back(Loaded(2, 0, "F", kDir));
  pdb.push_back(Loaded(3, 1, "n", kFav | kNew, "u:n"));
  pdb.push_back(Loaded(4, 1, "gone", kFav, "u:g"));
  reg.push_back(Known(0, "F", false));
  reg.push_back(Known(1, "gone", true));
  Run();
  EXPECT_EQ(store.calls, std::vector<std::string>{"AddFavorite \\F|n"});
  EXPECT_EQ(handheld.Summary(), (std::vector<std::string>{"deep@0:4", "F@0:4", "n@1:5"}));
}

TEST_F(ReconciliationTest, BrokenOrderLosesNoRecord) {
  store.Favorite(0, "a", "u").Favorite(0, "x", "u").Favorite(0, "b", "u");
  pdb.push_back(Loaded(1, 0, "a", kFav, "u"));
  pdb.push_back(Loaded(2, 3, "x", kFav, "u"));
  pdb.push_back(Loaded(3, 0, "b", kFav, "u"));
  for (const char* name : {"a", "x", "b"}) reg.push_back(Known(0, name, true));
  Run();
  EXPECT_EQ(handheld.Summary(), (std::vector<std::string>{"a@0:5", "x@0:5", "b@0:5"}));
}

// A favourite cannot stand for a folder: the handheld folder keeps its
// record and contents, and the desktop favourite is added beside it.
TEST_F(ReconciliationTest, FolderNeverPairsWithAFavouriteOfItsName) {
  store.Favorite(0, "F", "u:F");
  pdb.push_back(Loaded(1, 0, "F", kDir));
  pdb.push_back(Loaded(2, 1, "c", kFav, "u:c"));
  pdb.push_back(Loaded(3, 0, "z", kFav, "u:z"));
  Run();
  EXPECT_EQ(handheld.Summary(), (std::vector<std::string>{"F@0:4", "c@1:5", "z@0:5", "F@0:5"}));
  EXPECT_EQ(store.calls, (std::vector<std::string>{"AddFavorite \\F|c", "AddFavorite |z"}));
}

TEST_F(ReconciliationTest, FolderAndFavouriteOfOneNamePairByKind) {
  store.Folder(0, "N").Favorite(1, "a", "u:a").Favorite(0, "N", "u:N");
  pdb.push_back(Loaded(1, 0, "N", kFav, "u:N"));
  pdb.push_back(Loaded(2, 0, "N", kDir));
  pdb.push_back(Loaded(3, 1, "a", kFav, "u:a"));
  reg.push_back(Known(0, "N", true));
  reg.push_back(Known(0, "N", false));
  reg.push_back(Known(1, "a", true));
  Run();
  EXPECT_EQ(handheld.Summary(), (std::vector<std::string>{"N@0:5", "N@0:4", "a@1:5"}));
  EXPECT_THAT(store.calls, IsEmpty());
}

class FailingWriter : public MemoryHandheld {
 public:
  explicit FailingWriter(int fail_at) : fail_at_(fail_at) {}
  int32_t WriteNewRecord(const FavoriteItem& item, int32_t parent, uint8_t status) override {
    if (static_cast<int>(records.size()) == fail_at_) throw Exception("link gone");
    return MemoryHandheld::WriteNewRecord(item, parent, status);
  }

 private:
  int fail_at_;
};

TEST_F(ReconciliationTest, AFailureKeepsTheCodeOfTheInnermostStep) {
  store.Folder(0, "F").Favorite(1, "a", "u:a").Favorite(1, "pc", "u:p");
  pdb.push_back(Loaded(1, 0, "F", kDir));
  pdb.push_back(Loaded(2, 1, "a", kFav, "u:a"));
  StateIndex state(reg);
  for (auto [fail_at, code] : {std::pair{1, "3006"}, std::pair{2, "3008"}}) {
    FailingWriter writer(fail_at);
    try {
      Reconciliation(pdb, store, state, writer).Run();
      ADD_FAILURE() << "no failure at write " << fail_at;
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), std::string("link gone Kestro error: ") + code);
    }
  }
}

}  // namespace
}  // namespace kestro::testing
