// What the conduit leaves on the handheld, read by the Perl Palm database
// reader rather than by our own code: the file is a valid .pdb and each
// favourites record has the packed layout, with Parent naming its folder.
#include <gtest/gtest.h>

#include <string>

#include "engine/conduit_harness.h"
#include "host/perl_tools.h"
#include "platform/file_system.h"

namespace kestro::testing {
namespace {

std::string BigEndian(uint32_t value, int bytes) {
  std::string out;
  for (int i = bytes - 1; i >= 0; --i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
  return out;
}

std::string Record(const std::string& name, uint32_t parent, uint16_t level, uint8_t status, const std::string& url) {
  return name + '\0' + BigEndian(parent, 4) + BigEndian(level, 2) + static_cast<char>(status) + url + '\0';
}

class PdbOutsideCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!PerlToolsAvailable()) GTEST_SKIP() << "perl with Palm::PDB is not available";
    root_ = h_.Env().Path("Favorites");
    ASSERT_TRUE(platform::CreateDirectories(root_ + platform::NativePath("\\News")));
    ASSERT_TRUE(WriteShortcut(root_ + platform::NativePath("\\News\\BBC.url"), "http://bbc/"));
    ASSERT_TRUE(WriteShortcut(root_ + platform::NativePath("\\Top.url"), "http://top/"));
    h_.UseStore(0, root_);
  }

  // Runs a HotSync, ends the session so the database file is complete, and
  // dumps it with the Perl reader.
  Dump SyncAndDump(int32_t sync_type) {
    EXPECT_EQ(h_.Sync(sync_type), 0);
    h_.EndSession();
    Dump dump = PdbDump(h_.Env().Path("handheld") + platform::NativePath("\\KestroDB.pdb"));
    EXPECT_EQ(dump.exit_code, 0) << dump.text;
    return dump;
  }

  void ExpectNewsTree(const Dump& dump) {
    ASSERT_EQ(dump.records.size(), 3u) << dump.text;
    const DumpedRecord& news = dump.records[0];
    EXPECT_EQ(news.data, Record("News", 0, 0, 0x04, ""));
    EXPECT_EQ(dump.records[1].data, Record("BBC", static_cast<uint32_t>(news.id), 1, 0x05, "http://bbc/"));
    EXPECT_EQ(dump.records[2].data, Record("Top", 0, 0, 0x05, "http://top/"));
    EXPECT_EQ(dump.records[1].data.size(), 3u + 1 + 4 + 2 + 1 + 11 + 1);
    EXPECT_NE(news.id, dump.records[1].id);
    EXPECT_NE(dump.records[1].id, dump.records[2].id);
  }

  ConduitHarness h_;
  std::string root_;
};

TEST_F(PdbOutsideCheck, DesktopOverwritesHandheldWritesPackedRecordsWithFolderIds) {
  h_.PutHandheld({{"old", 0, kFav | kNew, "http://old/"}});
  ExpectNewsTree(SyncAndDump(3));
}

TEST_F(PdbOutsideCheck, TwoWayRunIntoAnEmptyHandheldWritesTheDesktopTree) {
  // AddPCItems writes bit 2 (visible) and isUrl: folders 0x04, favourites 0x05.
  ExpectNewsTree(SyncAndDump(0));
}

}  // namespace
}  // namespace kestro::testing
