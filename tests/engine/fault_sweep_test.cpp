// A representative synchronise run failed at each of its host calls in turn:
// once with a plain error code, once with the link lost for that call and
// every later one. After the failed run every handheld record is on the
// handheld or in the recovery file; after one more clean run the handheld,
// the desktop and the state file equal what a run without the fault gives.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>

#include "engine/conduit_harness.h"
#include "engine/recovery_file.h"
#include "platform/environment.h"
#include "platform/file_system.h"
#include "platform/process_paths.h"

namespace kestro::testing {
namespace {

char Sep() { return platform::PathSeparator(); }

// Plain copies (no flushing): the snapshots are scratch.
void CopyTree(const std::string& from, const std::string& to) {
  if (std::filesystem::is_directory(from)) {
    std::filesystem::copy(from, to, std::filesystem::copy_options::recursive);
  } else {
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
  }
}

void ReplaceTree(const std::string& from, const std::string& to) {
  std::filesystem::remove_all(to);
  CopyTree(from, to);
}

// name|level|url of each record of a recovery file.
std::multiset<std::string> RecoveryRecords(const std::string& path) {
  std::multiset<std::string> out;
  if (!platform::FileExists(path)) return out;
  for (const auto& r : LoadRecovery(path)) {
    out.insert(std::string(r->NameText()) + "|" + std::to_string(r->Level) + "|" + std::string(r->URLText()));
  }
  return out;
}

// The desktop as folders of favourites, written as a favourites folder or a
// bookmark file.
using Folder = std::pair<std::string, std::vector<std::pair<std::string, std::string>>>;
using Desktop = std::vector<Folder>;

std::string BookmarkFile(const Desktop& desktop) {
  std::string text =
      "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n<TITLE>Bookmarks</TITLE>\r\n<H1>Bookmarks</H1>\r\n<DL><p>\r\n";
  for (const auto& [folder, favs] : desktop) {
    text += "    <DT><H3 ADD_DATE=\"1\">" + folder + "</H3>\r\n    <DL><p>\r\n";
    for (const auto& [name, url] : favs) text += "        <DT><A HREF=\"" + url + "\">" + name + "</A>\r\n";
    text += "    </DL><p>\r\n";
  }
  return text + "</DL><p>\r\n";
}

class FaultSweep : public ::testing::TestWithParam<std::tuple<int32_t, bool>> {
 protected:
  void SetUp() override {
    browser = std::get<0>(GetParam());
    root = h.Env().Path(browser == 0 ? "Favorites" : "bookmarks.htm");
    handheld = h.Env().Path("handheld");
    h.UseStore(browser, root);
    // A first run: 12 folders of 16 favourites, a state file to match.
    Desktop desktop;
    for (int f = 0; f < 12; ++f) {
      desktop.push_back({"F" + std::to_string(f), {}});
      for (int i = 0; i < 16; ++i) {
        desktop.back().second.push_back({"fav" + std::to_string(i), "http://" + std::to_string(f) + "/" + std::to_string(i)});
      }
    }
    WriteDesktop(desktop);
    ASSERT_EQ(h.Sync(0), 0);
    // Changes on both sides.
    // (F9 is deleted on the desktop below; a handheld edit inside it would be
    // pushed to the desktop and then removed with the folder in the same run,
    // which a rerun after a fault cannot repeat exactly, so it has none.)
    std::vector<HandheldRecord> records;
    std::string folder;
    for (HandheldRecord r : h.Handheld()) {
      r.parent = 0;
      if (r.level == 0) folder = r.name;
      if (folder == "F9") {
        records.push_back(r);
        continue;
      }
      if (r.name == "fav1") r.status |= kModified, r.url += "/hh";
      if (r.name == "fav2") r.status |= kDeleted;
      if (r.name == "F3") r.name = "Renamed3", r.url = "F3", r.status |= kModified;
      if (r.name == "F5") r.status |= kDeleted;
      records.push_back(r);
      if (r.name == "fav4") records.push_back({"new" + std::to_string(records.size()), r.level, kFav | kNew, "http://n/"});
    }
    h.PutHandheld(records);
    for (int f = 0; f < 12; f += 2) {
      auto& favs = desktop[static_cast<std::size_t>(f)].second;
      favs.erase(favs.begin() + 7);  // fav7
      favs[7].second = "http://desk/8";  // fav8
      favs.push_back({"pc", "http://pc/"});
    }
    desktop.erase(desktop.begin() + 9);  // F9
    WriteDesktop(desktop);
    for (const auto& r : h.Handheld()) start_records.insert(r.name + "|" + std::to_string(r.level) + "|" + r.url);
    Snapshot();
  }

  void WriteDesktop(const Desktop& desktop) {
    if (browser == 1) {
      ASSERT_TRUE(platform::WriteFileAtomically(root, BookmarkFile(desktop)));
      return;
    }
    std::filesystem::remove_all(root);
    for (const auto& [folder, favs] : desktop) {
      ASSERT_TRUE(platform::CreateDirectories(root + Sep() + folder));
      for (const auto& [name, url] : favs) ASSERT_TRUE(WriteShortcut(root + Sep() + folder + Sep() + name + ".url", url));
    }
  }
  std::string StateName() const { return browser == 0 ? "KestroIE.ksd" : "KestroNS.ksd"; }
  void Snapshot() {
    CopyTree(root, h.Env().Path("snap-desk"));
    CopyTree(handheld, h.Env().Path("snap-hh"));
    state = h.StateFile(browser);
  }
  void Restore() {
    h.EndSession();
    ReplaceTree(h.Env().Path("snap-desk"), root);
    ReplaceTree(h.Env().Path("snap-hh"), handheld);
    ASSERT_TRUE(platform::WriteFileAtomically(h.Env().Path(StateName()), state));
    platform::DeleteFileAt(h.Env().Path("KestroDB.krv"));
  }
  struct Outcome {
    std::string desktop;
    std::vector<std::string> handheld;
    std::string state;
  };
  Outcome Capture() {
    return {browser == 0 ? DescribeFavoritesFolder(root) : FileBytes(root), h.HandheldShape(), h.StateFile(browser)};
  }

  ConduitHarness h;
  int32_t browser = 0;
  std::string root, handheld, state;
  std::multiset<std::string> start_records;
};

TEST_P(FaultSweep, EveryHostCallOfARunCanFail) {
  const bool link_lost = std::get<1>(GetParam());
  std::size_t journal_from = h.Env().HostCalls().size();
  ASSERT_EQ(h.Sync(0), 0);
  Outcome expected = Capture();
  ASSERT_EQ(h.TreeProblem(), "");
  std::vector<std::pair<std::string, int>> calls;  // function, its k-th call
  std::map<std::string, int> seen;
  auto journal = h.Env().HostCalls();
  for (std::size_t i = journal_from; i < journal.size(); ++i) {
    const auto& c = journal[i];
    if (c.function.rfind("Sync", 0) != 0) continue;
    calls.emplace_back(c.function, ++seen[c.function]);
  }
  ASSERT_GT(calls.size(), 400u) << "a representative run";
  // Every call of a function called at most 3 times, and every stride-th
  // call of the others (KESTRO_FAULT_STRIDE; 1 sweeps every single call).
  std::size_t stride = 20;
  if (const char* s = std::getenv("KESTRO_FAULT_STRIDE")) stride = static_cast<std::size_t>(std::max(1, std::atoi(s)));
  std::vector<std::pair<std::string, int>> chosen;
  for (std::size_t n = 0; n < calls.size(); ++n) {
    if (seen[calls[n].first] <= 3 || n % stride == 0 || n + 1 == calls.size()) chosen.push_back(calls[n]);
  }
  for (const auto& [function, k] : chosen) {
    std::string fault = function + ":" + std::to_string(k) + ":" + (link_lost ? "268461072:sticky" : "-1");
    SCOPED_TRACE(fault);
    Restore();
    platform::SetEnv("KESTRO_HOST_FAULT", fault);
    h.Sync(0);
    platform::UnsetEnv("KESTRO_HOST_FAULT");
    h.EndSession();
    std::multiset<std::string> have = RecoveryRecords(h.Env().Path("KestroDB.krv"));
    for (const auto& r : h.Handheld()) have.insert(r.name + "|" + std::to_string(r.level) + "|" + r.url);
    bool completed = h.LogLines().back() == "20|Kestro";
    if (!completed) {
      for (const std::string& r : start_records) {
        ASSERT_TRUE(have.count(r)) << r << " is neither on the handheld nor kept";
      }
      ASSERT_EQ(h.TreeProblem(), "");
    }
    ASSERT_EQ(h.Sync(0), 0);
    ASSERT_EQ(h.LogLines().back(), "20|Kestro");
    Outcome after = Capture();
    for (std::size_t i = 0; i < std::max(after.handheld.size(), expected.handheld.size()); ++i) {
      ASSERT_EQ(i < after.handheld.size() ? after.handheld[i] : "(none)",
                i < expected.handheld.size() ? expected.handheld[i] : "(none)")
          << "handheld record " << i;
    }
    ASSERT_EQ(after.desktop, expected.desktop);
    ASSERT_TRUE(after.state == expected.state) << "state file differs";
  }
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultSweep, ::testing::Combine(::testing::Values(0, 1), ::testing::Bool()),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param) == 0 ? "Folder" : "BookmarkFile") +
                                  (std::get<1>(info.param) ? "LinkLost" : "PlainError");
                         });

}  // namespace
}  // namespace kestro::testing
