// What a HotSync tells and keeps, through the hotsync program with the real
// conduit, for a favourites folder and a bookmark file alike: the summary line
// and the run's detail, the preview that changes nothing, the guard against
// mass deletion, the backups and their restore, and the progress display.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/conduit_harness.h"
#include "host/run_program.h"
#include "platform/file_system.h"
#include "platform/process_paths.h"

namespace kestro::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

struct Fav {
  std::string folder;  // "" or one folder name
  std::string title;
  std::string url;
};

class RunRecord : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override { Settings(""); }
  bool IsFolder() const { return GetParam() == 0; }
  std::string Store() { return h.Env().Path(IsFolder() ? "Favorites" : "bookmarks.htm"); }

  // The settings, with extra registry lines of the conduit's key.
  void Settings(const std::string& extra) {
    std::string location;
    for (char c : Store()) {
      if (c == '\\') location += '\\';
      location += c;
    }
    h.WriteRegistry("[HKEY_CURRENT_USER\\Software\\Kestro]\r\n\"FavoritesPath\"=\"" + location +
                    "\"\r\n\"BrowserType\"=dword:0000000" + std::to_string(GetParam()) + "\r\n" + extra);
  }

  // Replaces the desktop store by these favourites.
  void Desktop(const std::vector<Fav>& favs) {
    if (IsFolder()) {
      std::filesystem::remove_all(Store());
      ASSERT_TRUE(platform::CreateDirectories(Store()));
      for (const Fav& f : favs) {
        std::string folder = Store() + (f.folder.empty() ? "" : platform::PathSeparator() + f.folder);
        ASSERT_TRUE(platform::CreateDirectories(folder));
        ASSERT_TRUE(WriteShortcut(folder + platform::PathSeparator() + f.title + ".url", f.url));
      }
      return;
    }
    std::string text = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n<TITLE>Bookmarks</TITLE>\r\n<DL><p>\r\n";
    std::string open_folder;
    for (const Fav& f : favs) {
      if (f.folder != open_folder) {
        if (!open_folder.empty()) text += "    </DL><p>\r\n";
        if (!f.folder.empty()) text += "    <DT><H3 ADD_DATE=\"1\">" + f.folder + "</H3>\r\n    <DL><p>\r\n";
        open_folder = f.folder;
      }
      text += std::string(open_folder.empty() ? 4 : 8, ' ') + "<DT><A HREF=\"" + f.url + "\">" + f.title + "</A>\r\n";
    }
    if (!open_folder.empty()) text += "    </DL><p>\r\n";
    ASSERT_TRUE(platform::WriteFileAtomically(Store(), text + "</DL><p>\r\n"));
  }

  ProgramRun Hotsync(std::vector<std::string> args) {
#if defined(_WIN32)
    return RunProgram(BinFolder() + "hotsync.exe", args);
#else
    return RunProgram(BinFolder() + "hotsync", args);
#endif
  }
  ProgramRun Sync(std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"sync", "--conduit", BinFolder() + "Kestro.dll"};
    args.insert(args.end(), extra.begin(), extra.end());
    return Hotsync(args);
  }
  // Every byte a preview must leave alone: the handheld's files, the desktop
  // store and the state file.
  std::string Fingerprint() {
    std::string all;
    for (const std::string& top : {h.Env().Path("handheld"), Store()}) {
      if (!std::filesystem::exists(top)) continue;
      if (std::filesystem::is_regular_file(top)) {
        all += top + "=" + FileBytes(top) + "\n";
        continue;
      }
      for (const auto& e : std::filesystem::recursive_directory_iterator(top)) {
        all += e.path().string() + (e.is_regular_file() ? "=" + FileBytes(e.path().string()) : "") + "\n";
      }
    }
    return all + h.StateFile(GetParam());
  }
  std::vector<std::string> Summaries() {
    std::vector<std::string> lines;
    for (const std::string& line : h.LogLines()) {
      if (line.find("Kestro - handheld: ") != std::string::npos) lines.push_back(line);
    }
    return lines;
  }

  ConduitHarness h;
};

INSTANTIATE_TEST_SUITE_P(Stores, RunRecord, ::testing::Values(0, 1),
                         [](const auto& info) { return info.param == 0 ? "FavoritesFolder" : "BookmarkFile"; });

TEST_P(RunRecord, SummaryLineAndDetailSayWhatChanged) {
  Desktop({{"", "Search", "http://search/"}, {"News", "BBC", "http://bbc/"}, {"News", "Reg", "http://reg/"}});
  ASSERT_EQ(Sync().exit_code, 0);
  Desktop({{"", "Search", "http://search2/"}, {"News", "BBC", "http://bbc/"}, {"News", "New", "http://new/"}});
  auto run = Sync();
  ASSERT_EQ(run.exit_code, 0) << run.output;
  EXPECT_EQ(Summaries(), (std::vector<std::string>{
                             "-1|Kestro - handheld: 4 added, 0 changed, 0 deleted; desktop: 0 added, 0 changed, 0 deleted",
                             "-1|Kestro - handheld: 1 added, 1 changed, 1 deleted; desktop: 0 added, 0 changed, 0 deleted"}));
  auto details = Hotsync({"log", "--details"});
  EXPECT_EQ(details.exit_code, 0);
  EXPECT_EQ(details.output,
            "# handheld: 1 added, 1 changed, 1 deleted; desktop: 0 added, 0 changed, 0 deleted\n"
            "handheld\tchanged\t\\\tSearch\thttp://search/\thttp://search2/\n"
            "handheld\tadded\t\\News\tNew\t\thttp://new/\n"
            "handheld\tdeleted\t\\News\tReg\thttp://reg/\t\n");
}

// The preview prints exactly what the real run that follows does, on both
// sides, and changes no byte of the handheld, the desktop or the state.
TEST_P(RunRecord, PreviewChangesNothingAndMatchesTheRunAfterIt) {
  Desktop({{"", "Search", "http://search/"}, {"News", "BBC", "http://bbc/"}, {"News", "Reg", "http://reg/"}});
  ASSERT_EQ(Sync().exit_code, 0);
  // The handheld brings favourites of its own, and the desktop changes.
  h.PutHandheld({{"Palm", 0, kDir, ""}, {"Tips", 1, kFav | kNew, "http://tips/"}, {"Search", 0, kFav, "http://search/"},
                 {"Old", 0, kFav, "http://old/"}});
  Desktop({{"", "Search", "http://search2/"}, {"News", "BBC", "http://bbc/"}});
  const std::string before = Fingerprint();
  auto preview = Sync({"--dry-run"});
  ASSERT_EQ(preview.exit_code, 0) << preview.output;
  EXPECT_TRUE(Fingerprint() == before) << "the handheld, the desktop or the state changed";
  EXPECT_THAT(Summaries(), ::testing::SizeIs(1)) << "a preview logs no summary";

  ASSERT_EQ(Sync().exit_code, 0);
  auto details = Hotsync({"log", "--details"});
  EXPECT_THAT(details.output, HasSubstr("desktop\tadded\t\\Palm\tTips\t\thttp://tips/\n"));
  EXPECT_THAT(preview.output, HasSubstr("Preview of Kestro (nothing was changed):\n" + details.output));
}

// A desktop that reads as empty, as a favourites folder on a drive that did
// not mount or an emptied bookmark file do, stops the run with the handheld
// untouched until the deletion is allowed.
TEST_P(RunRecord, GuardStopsAMassDeletionUntilAllowed) {
  std::vector<Fav> favs;
  for (int i = 0; i < 30; ++i) favs.push_back({"Many", "Fav" + std::to_string(i), "http://f" + std::to_string(i) + "/"});
  Desktop(favs);
  ASSERT_EQ(Sync().exit_code, 0);
  Desktop({});
  const std::string before = Fingerprint();
  auto stopped = Sync();
  EXPECT_EQ(stopped.exit_code, 1);
  EXPECT_THAT(stopped.output, HasSubstr("would delete 30 of the handheld's 30 favourites, more than 50%"));
  EXPECT_THAT(stopped.output, HasSubstr("hotsync sync --allow-mass-deletion"));
  EXPECT_TRUE(Fingerprint() == before) << "the handheld, the desktop or the state changed";

  Settings("\"MassDeletionLimit\"=dword:00000064\r\n");  // 100: no guard
  auto preview = Sync({"--dry-run"});
  EXPECT_THAT(preview.output, HasSubstr("# handheld: 0 added, 0 changed, 31 deleted;"));
  EXPECT_THAT(preview.output, Not(HasSubstr("was stopped")));
  Settings("");
  ASSERT_EQ(Sync({"--allow-mass-deletion"}).exit_code, 0);
  EXPECT_TRUE(h.Handheld().empty());
}

// A folder renamed on one side moves its favourites on the other: none is
// lost, so however many it holds the guard lets the run through.
TEST_P(RunRecord, GuardLetsAFolderRenameThrough) {
  std::vector<Fav> favs;
  for (int i = 0; i < 30; ++i) favs.push_back({"Many", "Fav" + std::to_string(i), "http://f" + std::to_string(i) + "/"});
  Desktop(favs);
  ASSERT_EQ(Sync().exit_code, 0);
  for (Fav& f : favs) f.folder = "More";
  Desktop(favs);
  auto run = Sync();
  ASSERT_EQ(run.exit_code, 0) << run.output;
  EXPECT_EQ(h.Handheld().size(), 31u);
  EXPECT_EQ(h.Handheld().front().name, "More");
}

// A run that deletes or changes desktop favourites keeps them first; a
// restore puts them back as a new change that reaches the handheld, and
// keeps what it replaced in a backup of its own.
TEST_P(RunRecord, BackupKeepsWhatARunChangesAndRestoresIt) {
  Desktop({{"", "Search", "http://search/"}, {"News", "BBC", "http://bbc/"}, {"News", "Reg", "http://reg/"}});
  ASSERT_EQ(Sync().exit_code, 0);
  h.PutHandheld({{"Search", 0, kFav, "http://search/"}, {"News", 0, kDir, ""},
                 {"BBC", 1, kFav | kDeleted, "http://bbc/"}, {"Reg", 1, kFav | kModified, "http://reg2/"}});
  ASSERT_EQ(Sync().exit_code, 0);
  auto listed = Hotsync({"backups"});
  std::vector<std::string> lines;
  for (std::size_t at = 0, end; (end = listed.output.find('\n', at)) != std::string::npos; at = end + 1)
    lines.push_back(listed.output.substr(at, end - at));
  ASSERT_EQ(lines.size(), 2u) << listed.output;
  EXPECT_THAT(lines[1], HasSubstr("  handheld: 0 added, 0 changed, 0 deleted; desktop: 0 added, 1 changed, 1 deleted  "));
  const std::string id = lines[1].substr(0, lines[1].find(' '));
  const std::string kept = lines[1].substr(lines[1].rfind("  ") + 2);
  EXPECT_TRUE(platform::FileExists(kept + "/handheld.krv"));
  if (IsFolder()) {
    EXPECT_EQ(DescribeFavoritesFolder(kept + "/desktop"), "dir \\News\nfile \\News\\BBC.url=http://bbc/\nfile \\News\\Reg.url=http://reg/\n");
  } else {
    EXPECT_THAT(FileBytes(kept + "/desktop/bookmarks.htm"), HasSubstr(">BBC</A>"));
  }

  // Search then goes on the desktop, and the HotSync takes it off the
  // handheld; the backup's handheld records bring it back.
  Desktop({{"News", "Reg", "http://reg2/"}});
  ASSERT_EQ(Sync().exit_code, 0);
  auto restore = Hotsync({"restore-backup", id, "--conduit", BinFolder() + "Kestro.dll"});
  ASSERT_EQ(restore.exit_code, 0) << restore.output;
  const std::string desktop = IsFolder() ? DescribeFavoritesFolder(Store()) : FileBytes(Store());
  EXPECT_THAT(desktop, HasSubstr("http://bbc/"));
  EXPECT_THAT(desktop, HasSubstr("http://reg/"));
  EXPECT_THAT(desktop, HasSubstr("http://search/"));
  EXPECT_THAT(h.HandheldShape(), ::testing::IsSupersetOf({"Search|0|5|http://search/|-1", "BBC|1|5|http://bbc/|0"}));
  EXPECT_THAT(Hotsync({"backups"}).output, HasSubstr("desktop: 0 added, 0 changed, 0 deleted"));
  EXPECT_EQ(Hotsync({"restore-backup", "19990101-000000", "--conduit", BinFolder() + "Kestro.dll"}).exit_code, 1);
}

// On a terminal a HotSync shows its progress as one line, phase and records
// done of all; without one (as in every other test here) it stays quiet.
TEST_P(RunRecord, ProgressIsOneLineOnATerminalOnly) {
  Desktop({{"", "Search", "http://search/"}, {"News", "BBC", "http://bbc/"}});
  auto piped = Sync();
  ASSERT_EQ(piped.exit_code, 0) << piped.output;
  EXPECT_THAT(piped.output, Not(HasSubstr("Synchronising")));
#if !defined(_WIN32)
  if (!platform::FileExists("/usr/bin/script")) GTEST_SKIP() << "no script(1) to give the program a terminal";
  auto shown = RunProgram("/usr/bin/script",
                          {"-qec", BinFolder() + "hotsync sync --conduit " + BinFolder() + "Kestro.dll", "/dev/null"});
  EXPECT_THAT(shown.output, HasSubstr("\r  Reading the handheld"));
  EXPECT_THAT(shown.output, HasSubstr("\r  Synchronising: 0/3 "));
  EXPECT_THAT(shown.output, HasSubstr("\r  Saving the state"));
#endif
}

}  // namespace
}  // namespace kestro::testing
