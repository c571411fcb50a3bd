// Whole HotSync runs through OpenConduit of the real conduit library, against
// the simulated handheld and a real favourites folder: what each sync type
// does, every case of the reconciliation in one two-way run, convergence,
// and what becomes of the handheld's records when a run fails.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/conduit_harness.h"
#include "platform/environment.h"
#include "platform/file_system.h"
#include "platform/process_paths.h"

namespace kestro::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class SyncRun : public ::testing::Test {
 protected:
  void SetUp() override {
    root = h.Env().Path("Favorites");
    ASSERT_TRUE(platform::CreateDirectories(root));
  }
  std::string Fav(const std::string& relative) { return root + platform::NativePath("\\" + relative); }
  void Shortcut(const std::string& relative, const std::string& url) {
    std::string file = Fav(relative);
    ASSERT_TRUE(platform::CreateDirectories(platform::FolderOf(file)));
    ASSERT_TRUE(WriteShortcut(file, url));
  }
  void ExpectTreeWhole() { EXPECT_EQ(h.TreeProblem(), "") << ::testing::PrintToString(h.HandheldShape()); }

  ConduitHarness h;
  std::string root;
};

TEST_F(SyncRun, TypesThatDoNotTouchTheData) {
  h.UseStore(0, root);
  h.PutHandheld({{"kept", 0, kFav, "http://kept/"}});
  auto before = h.Handheld();
  for (int32_t type : {1, 4, 5, 7}) {
    EXPECT_EQ(h.Sync(type), 0);
  }
  EXPECT_EQ(h.Sync(6), 0);
  EXPECT_THAT(h.LogLines(), ElementsAre("19|", "20|Kestro", "19|", "20|Kestro", "19|", "20|Kestro", "19|",
                                        "20|Kestro", "-1|Kestro - conduit configured to Do Nothing"));
  EXPECT_EQ(h.Handheld().front().id, before.front().id);
  EXPECT_EQ(h.StateFile(0), "<missing>");
  EXPECT_EQ(DescribeFavoritesFolder(root), "");
}

TEST_F(SyncRun, HandheldOverwritesDesktopOnlyReadsTheDesktop) {
  Shortcut("a.url", "http://a/");
  EXPECT_EQ(h.Sync(2), 0);  // no settings at all: no favourites location
  h.UseStore(0, root);
  EXPECT_EQ(h.Sync(2), 0);
  EXPECT_THAT(h.LogLines(), ElementsAre("19|", "21|Kestro - Favorites path missing. Check settings. Kestro error: 3013",
                                        "19|", "20|Kestro"));
  EXPECT_FALSE(h.HandheldExists());
  EXPECT_EQ(h.StateFile(0), "<missing>");
}

TEST_F(SyncRun, DesktopOverwritesHandheld) {
  Shortcut("News\\Daily\\Paper.url", "http://paper/");
  Shortcut("Top.url", "http://top/");
  h.UseStore(0, root);
  h.PutHandheld({{"old", 0, kFav | kNew, "http://old/"}});
  EXPECT_EQ(h.Sync(3), 0);
  EXPECT_THAT(h.HandheldShape(),
              ElementsAre("News|0|4||-1", "Daily|1|4||0", "Paper|2|5|http://paper/|1", "Top|0|5|http://top/|-1"));
  ExpectTreeWhole();
  EXPECT_EQ(h.StateFile(0).size(), 4u * 1300);
  EXPECT_THAT(h.LogLines(),
              ElementsAre("19|", "-1|Kestro - handheld: 4 added, 0 changed, 1 deleted; desktop: 0 added, 0 changed, 0 deleted",
                          "20|Kestro"));
  EXPECT_FALSE(platform::FileExists(h.Env().Path("KestroDB.krv")));
}

// One two-way run after a first one has left its state file, with an item for
// each case of the reconciliation, then runs until nothing changes.
TEST_F(SyncRun, SynchroniseCarriesEveryKindOfChangeAndConverges) {
  for (const char* name : {"keep", "dchg", "ddel", "ddelmod", "hmod", "hdel"}) {
    Shortcut(std::string(name) + ".url", std::string("http://") + name + "/");
  }
  Shortcut("Old\\in.url", "http://in/");
  Shortcut("Gone\\g.url", "http://g/");
  h.UseStore(0, root);
  ASSERT_EQ(h.Sync(0), 0);
  ExpectTreeWhole();

  // The desktop's changes.
  Shortcut("dchg.url", "http://dchg/desktop");
  ASSERT_TRUE(platform::DeleteFileAt(Fav("ddel.url")));
  ASSERT_TRUE(platform::DeleteFileAt(Fav("ddelmod.url")));
  Shortcut("pconly.url", "http://pconly/");
  Shortcut("both.url", "http://both/desktop");
  // The handheld's changes.
  std::vector<HandheldRecord> records;
  for (HandheldRecord r : h.Handheld()) {
    r.parent = 0;
    if (r.name == "hmod" || r.name == "ddelmod") r.status |= kModified, r.url += "handheld";
    if (r.name == "hdel" || r.name == "Gone" || r.name == "g") r.status |= kDeleted;
    if (r.name == "Old") r.name = "New", r.url = "Old", r.status |= kModified;
    records.push_back(r);
  }
  records.push_back({"hnew", 0, kFav | kNew, "http://hnew/"});
  records.push_back({"both", 0, kFav | kNew, "http://both/handheld"});
  records.push_back({"honly", 0, kFav, "http://honly/"});
  records.push_back({"ghost", 0, kFav | kNew | kDeleted, "http://ghost/"});
  h.PutHandheld(records);

  ASSERT_EQ(h.Sync(0), 0);
  ExpectTreeWhole();
  EXPECT_EQ(DescribeFavoritesFolder(root),
            "file \\both.url=http://both/handheld\n"
            "file \\dchg.url=http://dchg/desktop\n"
            "file \\ddelmod.url=http://ddelmod/handheld\n"
            "file \\hmod.url=http://hmod/handheld\n"
            "file \\hnew.url=http://hnew/\n"
            "file \\honly.url=http://honly/\n"
            "file \\keep.url=http://keep/\n"
            "dir \\New\n"
            "file \\New\\in.url=http://in/\n"
            "file \\pconly.url=http://pconly/\n");
  std::vector<std::string> shape = h.HandheldShape();
  EXPECT_THAT(shape, ::testing::UnorderedElementsAre(
                         "dchg|0|5|http://dchg/desktop|-1", "hmod|0|5|http://hmod/handheld|-1", "keep|0|5|http://keep/|-1",
                         "New|0|4||-1", "in|1|5|http://in/|3", "hnew|0|5|http://hnew/|-1",
                         "both|0|5|http://both/handheld|-1", "honly|0|5|http://honly/|-1", "pconly|0|5|http://pconly/|-1"))
      << "dropped: ddel, ddelmod, hdel, Gone, g, ghost";

  // The favourite changed on the handheld but deleted on the desktop came back
  // on the desktop; the next run carries it to the handheld. Then nothing moves.
  ASSERT_EQ(h.Sync(0), 0);
  ExpectTreeWhole();
  std::string desktop = DescribeFavoritesFolder(root);
  std::vector<std::string> handheld = h.HandheldShape();
  std::string state = h.StateFile(0);
  EXPECT_THAT(handheld, ::testing::Contains("ddelmod|0|5|http://ddelmod/handheld|-1"));
  ASSERT_EQ(h.Sync(0), 0);
  EXPECT_EQ(DescribeFavoritesFolder(root), desktop);
  EXPECT_EQ(h.HandheldShape(), handheld);
  EXPECT_EQ(h.StateFile(0), state);
  ExpectTreeWhole();
}

TEST_F(SyncRun, BookmarkFileSynchronisesAndConverges) {
  std::string file = h.Env().Path("bookmarks.htm");
  ASSERT_TRUE(platform::WriteFileAtomically(
      file,
      "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n<TITLE>Bookmarks</TITLE>\r\n<H1>Bookmarks</H1>\r\n<DL><p>\r\n"
      "    <DT><H3 ADD_DATE=\"0\">News</H3>\r\n    <DL><p>\r\n"
      "        <DT><A HREF=\"http://a/\">a</A>\r\n        <DT><A HREF=\"http://b/\">b</A>\r\n"
      "    </DL><p>\r\n    <DT><A HREF=\"http://c/\">c</A>\r\n</DL><p>\r\n"));
  h.UseStore(1, file);
  ASSERT_EQ(h.Sync(0), 0);
  EXPECT_THAT(h.HandheldShape(), ElementsAre("News|0|4||-1", "a|1|5|http://a/|0", "b|1|5|http://b/|0", "c|0|5|http://c/|-1"));
  std::vector<HandheldRecord> records;
  for (HandheldRecord r : h.Handheld()) {
    r.parent = 0;
    if (r.name == "a") r.status |= kModified, r.url = "http://a/new";
    if (r.name == "b") r.status |= kDeleted;
    records.push_back(r);
    if (r.name == "News") records.push_back({"n", 1, kFav | kNew, "http://n/"});
  }
  h.PutHandheld(records);
  ASSERT_EQ(h.Sync(0), 0);
  ExpectTreeWhole();
  std::string text = FileBytes(file);
  EXPECT_THAT(text, HasSubstr("HREF=\"http://a/new\""));
  EXPECT_THAT(text, HasSubstr("HREF=\"http://n/\""));
  EXPECT_THAT(text, ::testing::Not(HasSubstr("http://b/")));
  std::vector<std::string> shape = h.HandheldShape();
  EXPECT_THAT(shape, ::testing::UnorderedElementsAre("News|0|4||-1", "a|1|5|http://a/new|0", "n|1|5|http://n/|0",
                                                      "c|0|5|http://c/|-1"));
  std::string state = h.StateFile(1);
  EXPECT_EQ(state.size(), 4u * 1300);
  ASSERT_EQ(h.Sync(0), 0);
  EXPECT_EQ(FileBytes(file), text);
  EXPECT_EQ(h.HandheldShape(), shape);
  EXPECT_EQ(h.StateFile(1), state);
}

// Deeper than a thread's usual stack holds for a walk that calls itself once
// per level: the first HotSync and the steady one after it both finish.
TEST_F(SyncRun, BookmarkFileNestedThousandsDeepSynchronisesTwice) {
  constexpr int kDepth = 12000;
  std::string text = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n<TITLE>Bookmarks</TITLE>\r\n<DL><p>\r\n";
  for (int level = 1; level <= kDepth; ++level) text += "<DT><H3>L" + std::to_string(level) + "</H3>\r\n<DL><p>\r\n";
  text += "<DT><A HREF=\"http://deep/\">bottom</A>\r\n";
  for (int level = 0; level <= kDepth; ++level) text += "</DL><p>\r\n";
  const std::string file = h.Env().Path("bookmarks.htm");
  ASSERT_TRUE(platform::WriteFileAtomically(file, text));
  h.UseStore(1, file);
  ASSERT_EQ(h.Sync(0), 0);
  const std::vector<HandheldRecord> records = h.Handheld();
  ASSERT_EQ(records.size(), static_cast<std::size_t>(kDepth + 1));
  EXPECT_EQ(records.back().url, "http://deep/");
  ASSERT_EQ(h.Sync(0), 0);
  EXPECT_EQ(h.Handheld().size(), records.size());
  EXPECT_EQ(h.LogLines().rbegin()[1], "-1|Kestro - handheld: 0 added, 0 changed, 0 deleted; desktop: 0 added, 0 changed, 0 deleted");
}

TEST_F(SyncRun, NamesTheStoreRefusesAreLoggedAndKeptOnTheHandheld) {
  h.UseStore(0, root);
  h.PutHandheld({{"..", 0, kFav | kNew, "http://up/"}, {"a/b", 0, kFav | kNew, "http://slash/"}});
  ASSERT_EQ(h.Sync(0), 0);
  EXPECT_EQ(DescribeFavoritesFolder(root), "");
  EXPECT_FALSE(platform::PathExists(h.Env().Path("...url")));
  auto log = h.LogLines();
  ASSERT_EQ(log.size(), 5u) << ::testing::PrintToString(log);
  EXPECT_THAT(log[1], ::testing::StartsWith("-1|Kestro - "));
  EXPECT_THAT(log[2], ::testing::StartsWith("-1|Kestro - "));
  EXPECT_EQ(log[3], "-1|Kestro - handheld: 0 added, 0 changed, 0 deleted; desktop: 0 added, 0 changed, 0 deleted");
  EXPECT_EQ(log[4], "20|Kestro");
  // Still new: not on the desktop yet.
  EXPECT_THAT(h.HandheldShape(), ElementsAre("..|0|13|http://up/|-1", "a/b|0|13|http://slash/|-1"));
}

TEST_F(SyncRun, RunWithoutAStoreLeavesTheHandheldAlone) {
  h.UseStore(-1, root);
  h.PutHandheld({{"F", 0, kDir, ""}, {"x", 1, kFav, "http://x/"}});
  auto before = h.Handheld();
  EXPECT_EQ(h.Sync(0), 0);
  EXPECT_EQ(h.Sync(3), 0);
  auto after = h.Handheld();
  ASSERT_EQ(after.size(), 2u);
  EXPECT_EQ(after[0].id, before[0].id);
  EXPECT_EQ(after[1].id, before[1].id);
  auto log = h.LogLines();
  ASSERT_EQ(log.size(), 4u);
  EXPECT_THAT(log[1], HasSubstr("21|Kestro - No browser is selected"));
}

// A record too short for its fields is left on the handheld as it is and
// named in the log; the others synchronise, in both sync types that rewrite
// the handheld, and so does a restore after a failure.
TEST_F(SyncRun, DamagedHandheldRecordIsSetAside) {
  Shortcut("a.url", "http://a/");
  h.UseStore(0, root);
  const std::string damaged("abcd\0", 5);
  for (int32_t type : {0, 3}) {
    SCOPED_TRACE(type);
    h.PutHandheld({{"x", 0, kFav | kNew, "http://x/"}});
    uint32_t id = h.WriteRawRecord(damaged);
    h.WriteRawRecord(PackRecord({"y", 0, kFav | kNew, "http://y/"}));
    EXPECT_EQ(h.Sync(type), 0);
    EXPECT_EQ(h.LogLines().back(), "20|Kestro");
    EXPECT_THAT(h.LogLines(), ::testing::Contains(HasSubstr("record with ID " + std::to_string(id) + " does not read")));
    auto bytes = h.HandheldBytes();
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(bytes[0], damaged);
    EXPECT_EQ(bytes.size(), 4u);
  }
  EXPECT_EQ(DescribeFavoritesFolder(root), "file \\a.url=http://a/\nfile \\x.url=http://x/\nfile \\y.url=http://y/\n");
  platform::SetEnv("KESTRO_HOST_FAULT", "SyncWriteRec:1:-1");
  EXPECT_EQ(h.Sync(0), 0);
  platform::UnsetEnv("KESTRO_HOST_FAULT");
  EXPECT_THAT(h.LogLines(), ::testing::Contains(HasSubstr("were put back")));
  auto bytes = h.HandheldBytes();
  ASSERT_EQ(bytes.size(), 4u);
  EXPECT_EQ(bytes[0], damaged);
}

// A run that would write back exactly what the handheld holds leaves its
// database as it is: not opened for writing, the file byte for byte the
// same. A record the run would write otherwise (a dirty mark to clear, bytes
// beyond its fields) makes it write the handheld again, once.
TEST_F(SyncRun, NothingToChangeLeavesTheHandheldAsItIs) {
  Shortcut("F\\a.url", "http://a/");
  Shortcut("b.url", "http://b/");
  h.UseStore(0, root);
  ASSERT_EQ(h.Sync(0), 0);
  // The host calls of one more run that open the handheld for writing.
  auto writing_calls = [&] {
    const std::size_t from = h.Env().HostCalls().size();
    EXPECT_EQ(h.Sync(0), 0);
    auto calls = h.Env().HostCalls();
    int writing = 0;
    for (std::size_t i = from; i < calls.size(); ++i) writing += calls[i].args.find("mode=0xC0") != std::string::npos;
    return writing;
  };
  const std::string pdb = h.Env().Path("handheld") + platform::PathSeparator() + "KestroDB.pdb";
  const std::string file = FileBytes(pdb);
  EXPECT_EQ(writing_calls(), 0);
  EXPECT_EQ(FileBytes(pdb), file);
  auto log = h.LogLines();
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[log.size() - 2], "-1|Kestro - handheld: 0 added, 0 changed, 0 deleted; desktop: 0 added, 0 changed, 0 deleted");
  const HandheldRecord b = h.Handheld().back();
  const std::vector<std::string> shape = h.HandheldShape();
  for (const auto& [attributes, tail] : {std::pair<uint8_t, std::string>{0x40, ""}, {0, std::string("x", 1)}}) {
    const uint32_t id = h.Handheld().back().id;
    uint8_t handle = 0;
    ASSERT_EQ(h.SyncManager().SyncOpenDB("KestroDB", 0, &handle, hostapi::kOpenRead | hostapi::kOpenWrite), 0);
    EXPECT_EQ(h.SyncManager().Write(handle, PackRecord(b) + tail, id, attributes), id);
    h.SyncManager().SyncCloseDB(handle);
    EXPECT_EQ(writing_calls(), 1);
    EXPECT_EQ(h.HandheldShape(), shape);
    EXPECT_EQ(h.HandheldBytes().back().size(), PackRecord(b).size());
    EXPECT_EQ(writing_calls(), 0);
  }
  ExpectTreeWhole();
}

TEST_F(SyncRun, DamagedStateFileFailsBeforeTheHandheldIsTouched) {
  Shortcut("a.url", "http://a/");
  h.UseStore(0, root);
  h.PutHandheld({{"x", 0, kFav | kNew, "http://x/"}});
  auto before = h.Handheld();
  ASSERT_TRUE(platform::WriteFileAtomically(h.Env().Path("KestroIE.ksd"), std::string(1301, '\0')));
  EXPECT_EQ(h.Sync(0), 0);
  EXPECT_THAT(h.LogLines().at(1), HasSubstr("Kestro error: 3010"));
  auto after = h.Handheld();
  ASSERT_EQ(after.size(), 1u);
  EXPECT_EQ(after[0].id, before[0].id) << "the record was not rewritten";
}

TEST_F(SyncRun, FailedWriteBackPutsTheHandheldBack) {
  Shortcut("a.url", "http://a/");
  h.UseStore(0, root);
  h.PutHandheld({{"F", 0, kDir | kClosed, ""}, {"x", 1, kFav | kNew, "http://x/"}, {"y", 0, kFav | kModified, "http://y/"}});
  std::vector<std::string> before = h.HandheldShape();
  platform::SetEnv("KESTRO_HOST_FAULT", "SyncWriteRec:2:-1");
  EXPECT_EQ(h.Sync(0), 0);
  platform::UnsetEnv("KESTRO_HOST_FAULT");
  EXPECT_EQ(h.HandheldShape(), before) << "same records, order, fields and flags";
  ExpectTreeWhole();
  auto log = h.LogLines();
  ASSERT_EQ(log.size(), 3u);
  EXPECT_THAT(log[1], HasSubstr("were put back"));
  EXPECT_THAT(log[2], HasSubstr("21|Kestro - "));
  EXPECT_FALSE(platform::FileExists(h.Env().Path("KestroDB.krv")));
}

TEST_F(SyncRun, LostLinkKeepsTheRecordsForTheNextRun) {
  Shortcut("a.url", "http://a/");
  h.UseStore(0, root);
  std::vector<HandheldRecord> start = {{"F", 0, kDir, ""}, {"x", 1, kFav | kNew, "http://x/"}, {"y", 0, kFav, "http://y/"}};
  h.PutHandheld(start);
  platform::SetEnv("KESTRO_HOST_FAULT", "SyncWriteRec:2:268461072:sticky");
  EXPECT_EQ(h.Sync(0, "Ann Lee"), 0);
  platform::UnsetEnv("KESTRO_HOST_FAULT");
  std::string kept = h.Env().Path("KestroDB-Ann%20Lee.krv");
  EXPECT_TRUE(platform::FileExists(kept));
  h.EndSession();
  EXPECT_LT(h.Handheld().size(), 3u);

  ASSERT_EQ(h.Sync(0, "Ann Lee"), 0);
  EXPECT_FALSE(platform::FileExists(kept));
  EXPECT_THAT(h.LogLines(), ::testing::Contains(HasSubstr("kept since an earlier HotSync failed, were put back")));
  ExpectTreeWhole();
  std::vector<std::string> recovered = h.HandheldShape();

  // The same start without the fault gives the same handheld.
  ConduitHarness clean;
  std::string clean_root = clean.Env().Path("Favorites");
  ASSERT_TRUE(platform::CreateDirectories(clean_root));
  ASSERT_TRUE(WriteShortcut(clean_root + platform::NativePath("\\a.url"), "http://a/"));
  clean.UseStore(0, clean_root);
  clean.PutHandheld(start);
  ASSERT_EQ(clean.Sync(0), 0);
  EXPECT_EQ(clean.HandheldShape(), recovered);
  EXPECT_EQ(DescribeFavoritesFolder(clean_root), DescribeFavoritesFolder(root));
}

// After a HotSync that lost its link, a favourite added and one changed on
// the handheld before the next HotSync reach the desktop and stay on the
// handheld.
TEST_F(SyncRun, RestoreKeepsWhatTheHandheldGotSince) {
  Shortcut("F\\a.url", "http://a/");
  Shortcut("F\\b.url", "http://b/");
  h.UseStore(0, root);
  ASSERT_EQ(h.Sync(0), 0);
  // The handheld's own program saved the folder's record again (its dirty
  // mark set), so the next run writes the handheld anew and loses its link
  // doing so; a run that would write back what the handheld holds writes
  // nothing.
  {
    HandheldRecord folder = h.Handheld().at(0);
    uint8_t handle = 0;
    ASSERT_EQ(h.SyncManager().SyncOpenDB("KestroDB", 0, &handle, hostapi::kOpenRead | hostapi::kOpenWrite), 0);
    EXPECT_EQ(h.SyncManager().Write(handle, PackRecord(folder), folder.id, /*dirty=*/0x40), folder.id);
    h.SyncManager().SyncCloseDB(handle);
  }
  platform::SetEnv("KESTRO_HOST_FAULT", "SyncWriteRec:2:268461072:sticky");
  EXPECT_EQ(h.Sync(0), 0);
  platform::UnsetEnv("KESTRO_HOST_FAULT");
  h.EndSession();
  auto left = h.Handheld();
  ASSERT_EQ(left.size(), 1u) << "the failed run wrote one record";
  HandheldRecord changed = left[0];
  changed.name = "F2", changed.url = "F", changed.status |= kModified;  // the folder renamed
  h.WriteRawRecord(PackRecord(changed), changed.id);
  h.WriteRawRecord(PackRecord({"added", 0, kFav | kNew, "http://added/"}));

  ASSERT_EQ(h.Sync(0), 0);
  EXPECT_THAT(h.LogLines(), ::testing::Contains(HasSubstr("were put back; 2 added or changed")));
  EXPECT_EQ(DescribeFavoritesFolder(root),
            "file \\added.url=http://added/\ndir \\F2\nfile \\F2\\a.url=http://a/\nfile \\F2\\b.url=http://b/\n");
  EXPECT_THAT(h.HandheldShape(), ElementsAre("F2|0|4||-1", "a|1|5|http://a/|0", "b|1|5|http://b/|0",
                                             "added|0|5|http://added/|-1"));
}

// An empty or damaged recovery file puts nothing back and removes nothing: it
// is kept aside, and that run deletes nothing on either side.
TEST_F(SyncRun, DamagedRecoveryFileIsSetAsideAndNothingIsDeleted) {
  Shortcut("a.url", "http://a/");
  Shortcut("b.url", "http://b/");
  h.UseStore(0, root);
  h.PutHandheld({{"a", 0, kFav, "http://a/"}, {"b", 0, kFav, "http://b/"}});
  ASSERT_EQ(h.Sync(0), 0);
  h.PutHandheld({{"a", 0, kFav, "http://a/"}, {"h", 0, kFav | kNew, "http://h/"}});  // b lost by a failed run
  const std::string kept = h.Env().Path("KestroDB.krv");
  for (const std::string& bytes : {std::string(), std::string(2600, 'x')}) {
    ASSERT_TRUE(platform::WriteFileAtomically(kept, bytes));
    ASSERT_EQ(h.Sync(0), 0);
    EXPECT_EQ(h.LogLines().back(), "20|Kestro");
    EXPECT_THAT(h.LogLines(), ::testing::Contains(HasSubstr("is damaged")));
    EXPECT_FALSE(platform::FileExists(kept));
    EXPECT_EQ(DescribeFavoritesFolder(root), "file \\a.url=http://a/\nfile \\b.url=http://b/\nfile \\h.url=http://h/\n");
    EXPECT_EQ(h.Handheld().size(), 3u);
  }
  std::string aside;
  EXPECT_TRUE(platform::ReadWholeFile(kept + ".damaged", aside));
  EXPECT_TRUE(platform::ReadWholeFile(kept + ".damaged2", aside));
  EXPECT_EQ(aside, std::string(2600, 'x'));
}

}  // namespace
}  // namespace kestro::testing
