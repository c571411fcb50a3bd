// The run's detail lines: folders written out as paths, and every field kept
// on its own line and column whatever its text holds.
#include <gtest/gtest.h>

#include "engine/run_report.h"

namespace kestro {
namespace {

std::unique_ptr<FavoriteItem> Item(const std::string& name, int32_t level, const std::string& url = "") {
  auto item = NewFavoriteItem();
  item->SetName(name);
  item->Level = level;
  item->isUrl = url.empty() ? 0 : 1;
  item->SetURL(url);
  return item;
}

TEST(RunReport, DetailLinesGiveEachEntryItsPathAndKeepTabsAndLineBreaksOutOfFields) {
  FavoriteItemList items;
  items.push_back(Item("Top\tsite", 0, "http://top/"));
  items.push_back(Item("News", 0));
  items.push_back(Item("Line\r\nbreak", 1));
  items.push_back(Item("Deep", 2, "http://deep/\t1"));
  items.push_back(Item("Beside", 1, "http://beside/"));
  RunReport report;
  report.AddSide("handheld", {}, EntriesOf(items, /*skip_deleted=*/false));
  std::string text = "# head\n";
  report.AppendDetail(text);
  EXPECT_EQ(text,
            "# head\n"
            "handheld\tadded\t\\\tNews\\\t\t\n"
            "handheld\tadded\t\\\tTop site\t\thttp://top/\n"
            "handheld\tadded\t\\News\tBeside\t\thttp://beside/\n"
            "handheld\tadded\t\\News\tLine  break\\\t\t\n"
            "handheld\tadded\t\\News\\Line  break\tDeep\t\thttp://deep/ 1\n");
}

}  // namespace
}  // namespace kestro
