// The recovery file's format and what a restore writes back when the handheld
// was used after the failed run.
#include <gtest/gtest.h>

#include "engine/recovery_file.h"
#include "engine/restore_merge.h"
#include "engine/state_file.h"

namespace kestro {
namespace {

std::unique_ptr<FavoriteItem> Item(int32_t id, const std::string& name, int32_t level, int32_t parent,
                                   uint8_t status, const std::string& url = "") {
  auto item = NewFavoriteItem();
  item->RecID = id;
  item->SetName(name);
  item->Level = level;
  item->Parent = parent;
  item->SetFlagsFromStatus(status);
  item->SetURL(url);
  return item;
}

std::vector<std::string> Shape(const FavoriteItemList& list) {
  std::vector<std::string> out;
  for (const auto& r : list) {
    out.push_back(std::string(r->NameText()) + "|" + std::to_string(r->Level) + "|" + std::to_string(r->Parent) +
                  "|" + std::to_string(r->StatusAllFlags()) + "|" + std::string(r->URLText()));
  }
  return out;
}

FavoriteItemList Saved() {
  FavoriteItemList saved;
  saved.push_back(Item(10, "F", 0, 0, 4));
  saved.push_back(Item(11, "a", 1, 10, 5 | 8, "http://a/"));
  saved.push_back(Item(12, "b", 1, 10, 5, std::string(1024, 'u')));
  saved.push_back(Item(13, "top", 0, 0, 5, "http://top/"));
  return saved;
}

TEST(RecoveryFile, RoundTripsAndKnowsEveryDamage) {
  FavoriteItemList saved = Saved();
  const std::string bytes = PackRecovery(saved);
  EXPECT_LT(bytes.size(), 1300u) << "packed, not item images";
  EXPECT_EQ(Shape(UnpackRecovery(bytes)), Shape(saved));
  EXPECT_EQ(UnpackRecovery(PackRecovery({})).size(), 0u);
  for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
    EXPECT_THROW(UnpackRecovery(bytes.substr(0, cut)), ERecoveryDamaged) << cut;
  }
  for (std::size_t at = 0; at < bytes.size(); at += 7) {
    std::string changed = bytes;
    changed[at] = static_cast<char>(changed[at] ^ 0x20);
    EXPECT_THROW(UnpackRecovery(changed), ERecoveryDamaged) << at;
  }
  // Files of item images, as earlier versions wrote them, still read.
  std::vector<FavoriteItem*> items;
  for (const auto& r : saved) items.push_back(r.get());
  EXPECT_EQ(Shape(UnpackRecovery(ItemImages(items))), Shape(saved));
  EXPECT_THROW(UnpackRecovery(ItemImages(items) + "x"), ERecoveryDamaged);
}

TEST(RestoreMerge, WithoutLaterWorkTheSavedRecordsGoBack) {
  FavoriteItemList current;
  current.push_back(Item(50, "F", 0, 0, 4));  // written by the failed run
  current.push_back(Item(51, "a", 1, 50, 5, "http://a/"));
  MergedRestore merged = MergeLaterWork(Saved(), current);
  EXPECT_FALSE(merged.differs);
  EXPECT_EQ(merged.later_work, 0);
}

TEST(RestoreMerge, LaterWorkIsKeptInItsFolders) {
  FavoriteItemList current;
  current.push_back(Item(12, "b2", 1, 10, 5 | 32, "http://b2/"));  // the saved b, changed since
  current.push_back(Item(50, "F", 0, 0, 4));                        // the failed run's F
  current.push_back(Item(51, "inF", 1, 50, 5 | 8, "http://in/"));  // added into it since
  current.push_back(Item(52, "G", 0, 0, 4));                        // a folder only the failed run wrote
  current.push_back(Item(53, "inG", 1, 52, 5 | 8, "http://g/"));
  current.push_back(Item(54, "new", 0, 0, 5 | 8, "http://new/"));
  current.push_back(Item(55, "a", 1, 50, 5 | 8, "http://a/"));  // the saved a, written by a cut restore
  current.push_back(Item(56, "top", 0, 0, 5 | 32, "http://top2/"));  // the failed run's top, changed since
  MergedRestore merged = MergeLaterWork(Saved(), current);
  EXPECT_TRUE(merged.differs);
  EXPECT_EQ(merged.later_work, 5);
  EXPECT_EQ(Shape(merged.records),
            (std::vector<std::string>{"F|0|0|4|", "a|1|10|13|http://a/", "b2|1|10|37|http://b2/",
                                      "inF|1|10|13|http://in/", "top|0|0|37|http://top2/", "G|0|0|4|",
                                      "inG|1|52|13|http://g/", "new|0|0|13|http://new/"}));
  // Merging what the merge gave again, with its records on the handheld
  // under new IDs, changes nothing: a restore cut short can be repeated.
  FavoriteItemList again;
  int32_t id = 100;
  for (const auto& r : merged.records) again.push_back(Item(id++, std::string(r->NameText()), r->Level, 0,
                                                          r->StatusAllFlags(), std::string(r->URLText())));
  for (std::size_t i = 0; i < again.size(); ++i) {
    for (std::size_t j = i; j-- > 0;) {
      if (!again[j]->isUrl && again[j]->Level < again[i]->Level) {
        again[i]->Parent = again[j]->RecID;
        break;
      }
    }
  }
  MergedRestore twice = MergeLaterWork(merged.records, again);
  EXPECT_EQ(Shape(twice.records), Shape(merged.records));
  EXPECT_EQ(twice.later_work, 0);
}

}  // namespace
}  // namespace kestro
