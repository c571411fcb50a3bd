// The recovery file on its own: the records of a 10,000-favourite handheld
// (500 folders of 20, titles and addresses of common lengths) saved as the run
// saves them, packed, and, for comparison, as 1300-byte item images, the
// format earlier versions wrote; each is one replacement of the file.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "engine/recovery_file.h"
#include "engine/state_file.h"
#include "platform/file_system.h"

namespace kestro {
namespace {

FavoriteItemList Handheld(int favourites) {
  FavoriteItemList records;
  int32_t id = 1, folder = 0;
  for (int i = 0; i < favourites; ++i) {
    if (i % 20 == 0) {
      auto f = NewFavoriteItem();
      f->RecID = folder = id++;
      f->SetName("Folder number " + std::to_string(i / 20));
      f->SetFlagsFromStatus(4);
      records.push_back(std::move(f));
    }
    auto r = NewFavoriteItem();
    r->RecID = id++;
    r->Parent = folder;
    r->Level = 1;
    r->SetName("A favourite page title " + std::to_string(i));
    r->SetURL("https://www.example.org/some/path/to/page-" + std::to_string(i) + ".html");
    r->SetFlagsFromStatus(5);
    records.push_back(std::move(r));
  }
  return records;
}

std::string ScratchFile() {
  auto dir = std::filesystem::temp_directory_path() / "kestro-recovery-bench";
  std::filesystem::create_directories(dir);
  return (dir / "KestroDB.krv").string();
}

void PackedRecords(benchmark::State& state) {
  FavoriteItemList records = Handheld(static_cast<int>(state.range(0)));
  const std::string file = ScratchFile();
  for (auto _ : state) SaveRecovery(file, records);
  state.counters["bytes"] = static_cast<double>(platform::FileSize(file));
}

void ItemImagesAsBefore(benchmark::State& state) {
  FavoriteItemList records = Handheld(static_cast<int>(state.range(0)));
  std::vector<FavoriteItem*> items;
  for (const auto& r : records) items.push_back(r.get());
  const std::string file = ScratchFile();
  for (auto _ : state) platform::WriteFileAtomically(file, ItemImages(items));
  state.counters["bytes"] = static_cast<double>(platform::FileSize(file));
}

BENCHMARK(PackedRecords)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(ItemImagesAsBefore)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kestro

BENCHMARK_MAIN();
