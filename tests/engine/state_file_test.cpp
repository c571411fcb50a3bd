// The state file on disk: its size and round trip, a damaged file, and the
// question the reconciliation asks of it.
#include "engine/state_file.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "base/exception.h"
#include "engine/engine_fakes.h"
#include "platform/environment.h"
#include "platform/file_system.h"
#include "platform/process_paths.h"
#include "support/test_environment.h"

namespace kestro::testing {
namespace {

TEST(StateFile, HoldsOneRecordPerEntryAndReadsBackTheFieldsItUses) {
  TestEnvironment env;
  MemoryStore store;
  store.Folder(0, "News").Favorite(1, std::string(256, 'n'), "http://n/").Favorite(0, "top", "http://t/");
  SaveList(store, 1);
  EXPECT_EQ(platform::FileSize(env.Path("KestroNS.ksd")), 3900);
  EXPECT_FALSE(platform::FileExists(env.Path("KestroIE.ksd")));
  FavoriteItemList back;
  back.push_back(NewFavoriteItem());  // LoadList empties the list first
  LoadList(back, 1);
  ASSERT_EQ(back.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(back[i]->NameText(), store.Items(i)->NameText());
    EXPECT_EQ(back[i]->Level, store.Items(i)->Level);
    EXPECT_EQ(back[i]->isUrl, store.Items(i)->isUrl);
  }
}

TEST(StateFile, EmptyStoreGivesEmptyFileAndMissingFileAnEmptyList) {
  TestEnvironment env;
  FavoriteItemList list;
  LoadList(list, 0);
  EXPECT_TRUE(list.empty());
  MemoryStore empty;
  SaveList(empty, 0);
  EXPECT_EQ(platform::FileSize(env.Path("KestroIE.ksd")), 0);
  LoadList(list, 0);
  EXPECT_TRUE(list.empty());
}

TEST(StateFile, ShortLastRecordFailsWithItsCode) {
  TestEnvironment env;
  ASSERT_TRUE(platform::WriteFileAtomically(env.Path("KestroIE.ksd"), std::string(1300 + 12, '\0')));
  FavoriteItemList list;
  MemoryStore store;
  for (const auto& read : std::vector<std::function<void()>>{[&] { LoadList(list, 0); },
                                                            [&] { ScanStateFile(0, store); }}) {
    try {
      read();
      FAIL() << "a short record was accepted";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), "Read beyond end of file Kestro error: 3010");
    }
  }
}

// The scan reads the file in blocks of records: a store of more entries
// than one block must still be compared and indexed to its end.
TEST(StateFile, ScanMatchesOnlyTheStoreSavedAndIndexesEveryRecord) {
  TestEnvironment env;
  MemoryStore store;
  EXPECT_TRUE(ScanStateFile(0, store).matches_store);  // no file, no entries
  for (int i = 0; i < 150; ++i) store.Favorite(0, "f" + std::to_string(i), "http://f/");
  EXPECT_FALSE(ScanStateFile(0, store).matches_store);
  SaveList(store, 0);
  const StateScan scan = ScanStateFile(0, store);
  EXPECT_TRUE(scan.matches_store);
  EXPECT_TRUE(scan.index.URLExistInFile(*Known(0, "F149", true)));
  store.Items(149)->SetURL("http://changed/");
  EXPECT_FALSE(ScanStateFile(0, store).matches_store);
  store.Favorite(0, "one more", "http://m/");
  EXPECT_FALSE(ScanStateFile(0, store).matches_store);
}

TEST(StateFile, UnwritableFolderFailsWithItsCode) {
  TestEnvironment env;
  platform::SetEnv("KESTRO_HOST_FOLDER", env.Path("missing") + platform::PathSeparator());
  MemoryStore store;
  store.Favorite(0, "a", "u");
  try {
    SaveList(store, 0);
    FAIL() << "saving into a missing folder succeeded";
  } catch (const Exception& e) {
    EXPECT_NE(e.Message().find(" Kestro error: 3009"), std::string::npos) << e.Message();
  }
}

TEST(StateFile, KnowsAnItemByLevelKindAndNameWithoutCase) {
  FavoriteItemList reg;
  reg.push_back(Known(1, "Daily News", true));
  StateIndex state(reg);
  struct Question {
    int32_t level;
    const char* name;
    bool is_url;
    bool known;
  } questions[] = {
      {1, "daily NEWS", true, true},   // case-blind
      {1, "Daily News", false, false},  // a folder of that name is another item
      {0, "Daily News", true, false},   // so is one at another level
      {1, "Daily New", true, false},    // whole names only
  };
  for (const Question& q : questions) {
    EXPECT_EQ(state.URLExistInFile(*Known(q.level, q.name, q.is_url)), q.known) << q.name << " at " << q.level;
  }
}

}  // namespace
}  // namespace kestro::testing
