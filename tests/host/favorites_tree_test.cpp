// The favourites tree that hotsync prints: folders hold their records in
// record order; records that do not decode or whose folder is missing, and
// folders that contain themselves, are listed apart instead of dropped.
#include "favorites_tree.h"

#include <gtest/gtest.h>

namespace kestro::hotsync {
namespace {

std::string Record(const std::string& name, uint32_t parent, uint16_t level, uint8_t status, const std::string& url) {
  std::string r = name + '\0';
  for (int shift = 24; shift >= 0; shift -= 8) r += static_cast<char>((parent >> shift) & 0xFF);
  r += static_cast<char>(level >> 8);
  r += static_cast<char>(level & 0xFF);
  r += static_cast<char>(status);
  return r + url + '\0';
}

TEST(FavoritesTree, DecodesTheRecordLayout) {
  auto f = DecodeFavorite(Record("News", 3, 1, 5, "abc"));
  ASSERT_TRUE(f);
  EXPECT_EQ(f->name, "News");
  EXPECT_EQ(f->parent, 3);
  EXPECT_EQ(f->level, 1);
  EXPECT_EQ(f->status, 5);
  EXPECT_EQ(f->url, "abc");
  EXPECT_EQ(Record("News", 3, 1, 5, "abc").size(), 16u);
  EXPECT_EQ(StatusNames(0x3F), "url closed visible new deleted modified");
  EXPECT_EQ(StatusNames(0), "-");
  for (const std::string& bad : {std::string("no end"), std::string("a\0\0\0", 4), Record("x", 0, 0, 1, "u").substr(0, 10)}) {
    EXPECT_FALSE(DecodeFavorite(bad)) << bad.size();
  }
}

TEST(FavoritesTree, PrintsNestingAndKeepsStrayRecords) {
  std::vector<host::PdbRecord> records = {
      {0, 10, Record("News", 0, 0, 0x04, "")},
      {0, 11, Record("BBC", 10, 1, 0x05, "http://bbc/")},
      {0, 12, Record("Deep", 10, 1, 0x04, "")},
      {0x40, 13, Record("Inner", 12, 2, 0x0D, "http://inner/")},
      {0, 14, Record("Lost", 99, 1, 0x05, "http://lost/")},
      {0, 15, std::string("garbage")},
      {0, 16, Record("Self", 16, 1, 0x04, "")},
      {0, 17, Record("Top", 0, 0, 0x05, "http://top/")},
  };
  auto lines = FavoritesTree(records);
  std::vector<std::string> expected = {
      "+ News/  [id 10, parent 0, level 0, status visible]",
      "  - BBC  <http://bbc/>  [id 11, parent 10, level 1, status url visible]",
      "  + Deep/  [id 12, parent 10, level 1, status visible]",
      "    - Inner  <http://inner/>  [id 13, parent 12, level 2, status url visible new dirty]",
      "- Top  <http://top/>  [id 17, parent 0, level 0, status url visible]",
      "Records outside the tree:",
      "  - Lost  <http://lost/>  [id 14, parent 99, level 1, status url visible]",
      "  ? record 5 is not a favourite record (7 bytes) [id 15]",
      "  + Self/  [id 16, parent 16, level 1, status visible]",
  };
  EXPECT_EQ(lines, expected);
}

}  // namespace
}  // namespace kestro::hotsync
