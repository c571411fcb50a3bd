// The run's detail lines: folders written out as paths, and every field kept
// on its own line and column whatever its text holds.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>

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

TEST(RunReport, AFolderPastTheLimitIsWrittenAsItsLastNamesSoTheDetailGrowsLinearlyWithDepth) {
  constexpr int kDepth = 3000;
  FavoriteItemList items;
  for (int level = 0; level < kDepth; ++level) items.push_back(Item("Level " + std::to_string(level + 1), level));
  RunReport report;
  report.AddSide("handheld", {}, EntriesOf(items, /*skip_deleted=*/false));
  std::string text;
  report.AppendDetail(text);
  std::vector<std::string> folders;
  for (std::size_t at = 0; at < text.size(); at = text.find('\n', at) + 1) {
    const std::size_t from = text.find('\t', text.find('\t', at) + 1) + 1;
    folders.push_back(text.substr(from, text.find('\t', from) - from));
  }
  ASSERT_EQ(folders.size(), static_cast<std::size_t>(kDepth));
  EXPECT_EQ(folders[2], "\\Level 1\\Level 2");
  const std::string& deepest = folders.back();
  EXPECT_EQ(deepest.rfind("\xE2\x80\xA6\\Level ", 0), 0u) << deepest.substr(0, 20);
  EXPECT_LE(deepest.size(), 3 + RunReport::kDetailFolderLimit);
  EXPECT_GT(deepest.size(), RunReport::kDetailFolderLimit - 20);  // whole names only, as many as fit
  EXPECT_EQ(deepest.substr(deepest.size() - 11), "\\Level " + std::to_string(kDepth - 1));
  EXPECT_LT(text.size(), kDepth * (RunReport::kDetailFolderLimit + 60));
}

// Names that are prefixes of one another, or hold the separator, order
// their folders' actions as the whole paths would sort as text.
TEST(RunReport, ActionsFollowTheOrderOfTheirPathsAsText) {
  const std::vector<std::string> names = {"A", "AB", "A B", "a", "", "A\\B"};
  for (unsigned seed = 1; seed <= 40; ++seed) {
    std::mt19937 random(seed);
    FavoriteItemList items;
    int level = 0;
    for (int i = 0; i < 60; ++i) {
      const bool is_url = random() % 3 == 0;
      // Not the separator in every tree: most trees take the usual path.
      const std::size_t choices = names.size() - (seed % 2);
      items.push_back(Item(names[random() % choices], level, is_url ? "http://x/" : ""));
      if (!is_url && random() % 2 == 0) ++level;
      else if (random() % 3 == 0) level = static_cast<int>(random() % static_cast<unsigned>(level + 1));
    }
    RunReport report;
    report.AddSide("desktop", {}, EntriesOf(items, /*skip_deleted=*/false));
    std::vector<std::pair<std::string, std::string>> got, want;
    for (const RunAction& a : report.Actions()) got.emplace_back(a.entry.folder(), a.entry.title);
    want = got;
    std::stable_sort(want.begin(), want.end());
    EXPECT_EQ(got, want) << "seed " << seed;
  }
}

}  // namespace
}  // namespace kestro
