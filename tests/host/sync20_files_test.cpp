// What the simulated handheld leaves on disk: standard .pdb files that the
// Perl reader agrees with (and Perl-written files it reads), damaged files
// refused and left untouched, and changes that survive a killed process.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "handheld_database.h"
#include "pdb_file.h"
#include "perl_tools.h"
#include "platform/environment.h"
#include "platform/file_system.h"
#include "platform/process_paths.h"
#include "sync_manager_client.h"

namespace kestro::testing {
namespace {

using hostapi::kOpenRead;
using hostapi::kOpenWrite;

std::string Slurp(const std::string& path) {
  std::string text;
  platform::ReadWholeFile(path, text);
  return text;
}

void Spit(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

class Sync20Files : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sm.library.IsLoaded()) << sm.library.Error();
    platform::CreateDirectories(handheld);
  }
  void RequirePerl() {
#if defined(_WIN32)
    GTEST_SKIP() << "the Perl tools run on the native build";
#endif
    if (!PerlToolsAvailable()) GTEST_SKIP() << "perl with Palm::PDB is not installed";
  }
  TestEnvironment env;
  SyncManagerClient sm;
  std::string handheld = env.Path("handheld") + platform::PathSeparator();
};

TEST_F(Sync20Files, PerlReaderSeesWhatWasWritten) {
  RequirePerl();
  if (IsSkipped()) return;
  uint8_t h = sm.Create("KestroDB", 0x0008);
  uint32_t a = sm.Write(h, "News", 0, 0x00, 0);
  uint32_t b = sm.Write(h, "BBC", 0, 0x40, 5);
  uint32_t c = sm.Write(h, "archived", 0, 0x88, 2);
  uint32_t d = sm.Write(h, "private", 0, 0x10, 15);
  std::string info = "\x01\x02info";
  SyncDbInfoBlock block{};
  block.buffer = reinterpret_cast<uint8_t*>(info.data());
  block.total_bytes = static_cast<uint16_t>(info.size());
  ASSERT_EQ(sm.SyncWriteDBAppInfoBlock(h, &block), 0);
  ASSERT_EQ(sm.SyncCloseDB(h), 0);

  Dump dump = PdbDump(handheld + "KestroDB.pdb");
  ASSERT_EQ(dump.exit_code, 0) << dump.text;
  EXPECT_EQ(dump.header["name"], "\"KestroDB\"");
  EXPECT_EQ(dump.header["creator"], "\"Kstr\"");
  EXPECT_EQ(dump.header["type"], "\"DATA\"");
  EXPECT_EQ(dump.header["attributes"], "8");
  EXPECT_EQ(dump.header["version"], "1");
  EXPECT_EQ(dump.header["numRecords"], "4");
  EXPECT_EQ(dump.header["appInfo"], "\"" + Hex(info) + "\"");
  EXPECT_EQ(dump.header["uniqueIDSeed"], std::to_string(d)) << "the seed is the last ID handed out";
  ASSERT_EQ(dump.records.size(), 4u);
  const struct {
    uint32_t id;
    int attributes;
    int category;
    const char* data;
  } expected[] = {{a, 0x00, 0, "News"}, {b, 0x45, 5, "BBC"}, {c, 0x82, 2, "archived"}, {d, 0x1F, 15, "private"}};
  for (std::size_t i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(dump.records[i].id, expected[i].id);
    EXPECT_EQ(dump.records[i].attributes, expected[i].attributes);
    EXPECT_EQ(dump.records[i].category, expected[i].category);
    EXPECT_EQ(dump.records[i].data, expected[i].data);
  }
}

TEST_F(Sync20Files, OpensPerlWrittenFilesWhateverTheirFileName) {
  RequirePerl();
  if (IsSkipped()) return;
  std::string json = env.Path("in.json");
  Spit(json, R"({"name": "MemoDB", "type": "DATA", "creator": "memo", "version": 3,
    "appInfo": "00010203",
    "records": [
      {"uniqueID": 4660, "attributes": 64, "category": 1, "dataText": "first"},
      {"uniqueID": 4661, "attributes": 16, "category": 0, "dataText": "second"},
      {"uniqueID": 0, "attributes": 0, "dataText": "no id"},
      {"uniqueID": 0, "attributes": 0, "dataText": "no id either"}
    ]})");
  // A backup copy need not be named after its database.
  ASSERT_EQ(PdbMake(json, handheld + "Memo_Pad-backup.PDB"), 0);
  uint8_t h = 0;
  ASSERT_EQ(sm.SyncOpenDB("MemoDB", 0, &h, kOpenRead), 0);
  uint16_t count = 0;
  ASSERT_EQ(sm.SyncGetDBRecordCount(h, &count), 0);
  ASSERT_EQ(count, 4);
  auto first = sm.ReadWith(sm.SyncReadRecordById, h, 4660);
  EXPECT_EQ(first.data, "first");
  EXPECT_EQ(first.record.attributes, 0x40);
  EXPECT_EQ(+first.record.category, 1);
  EXPECT_EQ(sm.ReadWith(sm.SyncReadRecordByIndex, h, 0, 1).record.attributes, 0x10);
  // Files that carry ID 0 get unique IDs on the handheld.
  uint32_t third = sm.ReadWith(sm.SyncReadRecordByIndex, h, 0, 2).record.record_id;
  uint32_t fourth = sm.ReadWith(sm.SyncReadRecordByIndex, h, 0, 3).record.record_id;
  EXPECT_NE(third, 0u);
  EXPECT_NE(fourth, 0u);
  EXPECT_NE(third, fourth);
  std::vector<uint8_t> buffer(100);
  SyncDbInfoBlock info{};
  info.buffer = buffer.data();
  info.total_bytes = 100;
  ASSERT_EQ(sm.SyncReadDBAppInfoBlock(h, &info), 0);
  EXPECT_EQ(int{info.bytes_read}, 4);
  sm.SyncCloseDB(h);
}

// A sound file image to damage.
std::string GoodImage() {
  host::PdbDatabase db;
  db.name = "KestroDB";
  db.creator = 0x4B737472;
  db.type = 0x44415441;
  db.unique_id_seed = 0x123002;
  db.app_info = "info";
  db.records = {{0, 0x123001, "one"}, {0x40, 0x123002, "two"}};
  return host::SerializePdb(db);
}

TEST_F(Sync20Files, DamagedFilesAreRefusedAndLeftAsTheyWere) {
  const std::string good = GoodImage();
  auto with_u32 = [&](std::size_t at, uint32_t v) {
    std::string s = good;
    for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>(v >> (24 - 8 * i));
    return s;
  };
  const struct {
    const char* what;
    std::string image;
  } cases[] = {
      {"empty file", ""},
      {"truncated header", good.substr(0, 50)},
      {"truncated record list", good.substr(0, 82)},
      {"record offset past the end", with_u32(78, 5000)},
      {"records out of order", with_u32(86, 90)},
      {"app-info past the records", with_u32(52, static_cast<uint32_t>(good.size() - 1))},
      {"chained record list", with_u32(72, 1)},
      {"record count too high", [&] { std::string s = good; s[76] = '\x7F'; return s; }()},
      {"name without an end", [&] { std::string s = good; std::fill(s.begin(), s.begin() + 32, 'N'); return s; }()},
      {"resource database", [&] { std::string s = good; s[33] = 1; return s; }()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = handheld + "KestroDB.pdb";
    Spit(path, c.image);
    uint8_t h = 0;
    int32_t result = sm.SyncOpenDB("KestroDB", 0, &h, kOpenRead | kOpenWrite);
    // A name without an end cannot even be found by its name.
    EXPECT_TRUE(result == 16394 || result == hostapi::kSyncErrNotFound) << result;
    if (result == 0) sm.SyncCloseDB(h);
    EXPECT_EQ(Slurp(path), c.image) << "the file is left as it was";
    EXPECT_FALSE(platform::FileExists(host::JournalPathOf(path)));
  }
  Spit(handheld + "KestroDB.pdb", good);
  uint8_t h = 0;
  ASSERT_EQ(sm.SyncOpenDB("KestroDB", 0, &h, kOpenRead), 0) << "the undamaged image opens";
  sm.SyncCloseDB(h);
}

TEST_F(Sync20Files, ChangesOfAnOpenDatabaseAreOnDiskBeforeItIsClosed) {
  uint8_t h = sm.Create("KestroDB");
  uint32_t kept = sm.Write(h, "kept");
  uint32_t replaced = sm.Write(h, "old");
  sm.Write(h, "new", replaced);
  uint32_t gone = sm.Write(h, "gone");
  SyncRawRecord del{};
  del.handle = h;
  del.record_id = gone;
  ASSERT_EQ(sm.SyncDeleteRec(&del), 0);
  // What a process killed now would leave behind: copy it to another handheld.
  std::string copy = env.Path("copy") + platform::PathSeparator();
  platform::CreateDirectories(copy);
  const std::string pdb = handheld + "KestroDB.pdb";
  Spit(copy + "KestroDB.pdb", Slurp(pdb));
  std::string journal = Slurp(host::JournalPathOf(pdb));
  ASSERT_FALSE(journal.empty());
  sm.SyncCloseDB(h);

  for (const std::string& tail : {std::string(), std::string("\x00\x00\x00\x30garbage", 11)}) {
    SCOPED_TRACE(tail.empty() ? "clean journal" : "torn last entry");
    Spit(host::JournalPathOf(copy + "KestroDB.pdb"), journal + tail);
    std::unique_ptr<host::HandheldDatabase> db;
    ASSERT_EQ(host::HandheldDatabase::Open(copy + "KestroDB.pdb", db), 0);
    const auto& records = db->Contents().records;
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].id, kept);
    EXPECT_EQ(records[1].id, replaced);
    EXPECT_EQ(records[1].data, "new");
    db.reset();
    EXPECT_FALSE(platform::FileExists(host::JournalPathOf(copy + "KestroDB.pdb"))) << "folded at open";
    ASSERT_EQ(host::HandheldDatabase::Open(copy + "KestroDB.pdb", db), 0);
    EXPECT_EQ(db->Contents().records.size(), 2u);
  }
}

// A file that repeats IDs gets fresh ones when opened; the journal of the
// changes made to those records must replay onto the same records.
TEST_F(Sync20Files, KilledProcessKeepsChangesToRecordsWhoseIdsWereRepaired) {
  host::PdbDatabase db;
  db.name = "KestroDB";
  db.unique_id_seed = 0x123001;
  db.records = {{0, 0x123001, "one"}, {0, 0x123001, "two"}, {0, 0, "three"}};
  const std::string pdb = handheld + "KestroDB.pdb";
  Spit(pdb, host::SerializePdb(db));
  uint8_t h = 0;
  ASSERT_EQ(sm.SyncOpenDB("KestroDB", 0, &h, kOpenRead | kOpenWrite), 0);
  uint32_t second = sm.ReadWith(sm.SyncReadRecordByIndex, h, 0, 1).record.record_id;
  sm.Write(h, "two, changed", second);
  sm.Write(h, "four");
  std::string copy = env.Path("copy") + platform::PathSeparator();
  platform::CreateDirectories(copy);
  Spit(copy + "KestroDB.pdb", Slurp(pdb));
  Spit(host::JournalPathOf(copy + "KestroDB.pdb"), Slurp(host::JournalPathOf(pdb)));
  ASSERT_EQ(sm.SyncCloseDB(h), 0);

  std::unique_ptr<host::HandheldDatabase> live, replayed;
  ASSERT_EQ(host::HandheldDatabase::Open(pdb, live), 0);
  ASSERT_EQ(host::HandheldDatabase::Open(copy + "KestroDB.pdb", replayed), 0);
  auto view = [](const host::HandheldDatabase& d) {
    std::vector<std::pair<uint32_t, std::string>> out;
    for (const auto& r : d.Contents().records) out.emplace_back(r.id, r.data);
    return out;
  };
  ASSERT_EQ(live->Contents().records.size(), 4u);
  EXPECT_EQ(live->Contents().records[1].data, "two, changed");
  EXPECT_EQ(view(*replayed), view(*live));
}

TEST_F(Sync20Files, StaleJournalIsNotReplayedTwice) {
  uint8_t h = sm.Create("KestroDB");
  sm.Write(h, "one");
  const std::string pdb = handheld + "KestroDB.pdb";
  std::string journal = Slurp(host::JournalPathOf(pdb));
  ASSERT_EQ(sm.SyncCloseDB(h), 0);
  // A process that stopped between folding and removing its journal.
  Spit(host::JournalPathOf(pdb), journal);
  ASSERT_EQ(sm.SyncOpenDB("KestroDB", 0, &h, kOpenRead), 0);
  uint16_t count = 0;
  sm.SyncGetDBRecordCount(h, &count);
  EXPECT_EQ(count, 1);
  sm.SyncCloseDB(h);
  EXPECT_FALSE(platform::FileExists(host::JournalPathOf(pdb)));
}

TEST_F(Sync20Files, ReopeningReadsTheFileAsItIsNow) {
  // A database closed unchanged is opened again from what is on disk now:
  // another writer may have replaced its file or left a journal beside it.
  const std::string pdb = handheld + "KestroDB.pdb";
  uint8_t h = sm.Create("KestroDB");
  sm.Write(h, "one");
  ASSERT_EQ(sm.SyncCloseDB(h), 0);
  const std::string one = Slurp(pdb);
  ASSERT_EQ(sm.SyncOpenDB("KestroDB", 0, &h, kOpenRead | kOpenWrite), 0);
  sm.Write(h, "two");
  const std::string journal = Slurp(host::JournalPathOf(pdb));
  ASSERT_EQ(sm.SyncCloseDB(h), 0);
  const std::string two = Slurp(pdb);
  auto count_after = [&](const std::string& image, const std::string& beside) {
    Spit(pdb, image);
    if (!beside.empty()) Spit(host::JournalPathOf(pdb), beside);
    uint16_t count = 0;
    EXPECT_EQ(sm.SyncOpenDB("KestroDB", 0, &h, kOpenRead), 0);
    sm.SyncGetDBRecordCount(h, &count);
    sm.SyncCloseDB(h);
    return count;
  };
  EXPECT_EQ(count_after(one, ""), 1);
  EXPECT_EQ(count_after(two, ""), 2);
  EXPECT_EQ(count_after(one, ""), 1);
  EXPECT_EQ(count_after(one, journal), 2);
}

TEST_F(Sync20Files, KilledProcessLosesNoCompletedWrite) {
  std::string child = BinFolder() + "host_handheld_child";
#if defined(_WIN32)
  child += ".exe";
#endif
  std::string command = "\"" + child + "\" 25";
#if defined(_WIN32)
  command = "\"" + command + "\"";  // cmd.exe strips one pair of quotes
#endif
  int status = std::system(command.c_str());
  ASSERT_NE(status, 0) << "the child ends without closing anything";
  uint8_t h = 0;
  ASSERT_EQ(sm.SyncOpenDB("Crash", 0, &h, kOpenRead), 0);
  uint16_t count = 0;
  sm.SyncGetDBRecordCount(h, &count);
  ASSERT_EQ(count, 25);
  for (uint16_t i = 0; i < 25; ++i) {
    EXPECT_EQ(sm.ReadWith(sm.SyncReadRecordByIndex, h, 0, i).data, "record " + std::to_string(i));
  }
  sm.SyncCloseDB(h);
}

TEST_F(Sync20Files, DatabaseNamesNeverLeaveTheHandheldFolder) {
  for (const char* name : {"../../escape", "a/b\\c:d", "..", "CON*?|<>"}) {
    SCOPED_TRACE(name);
    uint8_t h = sm.Create(name);
    sm.Write(h, name);
    ASSERT_EQ(sm.SyncCloseDB(h), 0);
    ASSERT_EQ(sm.SyncOpenDB(name, 0, &h, kOpenRead), 0);
    EXPECT_EQ(sm.ReadWith(sm.SyncReadRecordByIndex, h).data, name);
    sm.SyncCloseDB(h);
  }
  std::vector<platform::DirectoryEntry> inside;
  platform::ListDirectory(handheld, inside);
  EXPECT_EQ(inside.size(), 4u);
  std::vector<platform::DirectoryEntry> above;
  platform::ListDirectory(env.Folder(), above);
  for (const auto& e : above) EXPECT_EQ(e.name.find("escape"), std::string::npos) << e.name;
}

}  // namespace
}  // namespace kestro::testing
