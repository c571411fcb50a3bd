// How the stores scale: loading a bookmark file and a favourites folder of n
// links, and fetching the contents of every folder of such a store. Each
// benchmark reports its fitted complexity; the figures live in docs/.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "favorites/favorites_ie.h"
#include "favorites/favorites_ns.h"

namespace kestro {
namespace {

constexpr int kLinksPerFolder = 10;

std::filesystem::path BenchFolder() {
  static const std::filesystem::path folder = [] {
    auto path = std::filesystem::temp_directory_path() /
                ("kestro-bench-" +
                 std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    std::filesystem::create_directories(path);
    return path;
  }();
  return folder;
}

// n links, ten to a folder; every tenth folder holds the next nine nested
// one level down, so that the tree has depth and repeated names.
std::string BookmarkFile(int n) {
  static std::map<int, std::string> made;
  if (auto it = made.find(n); it != made.end()) return it->second;
  std::string text =
      "<!DOCTYPE "
      "NETSCAPE-Bookmark-file-1>\n<TITLE>Bookmarks</TITLE>\n<H1>Bookmarks</H1>\n<DL><p>\n";
  const int folders = n / kLinksPerFolder;
  for (int f = 0; f < folders; ++f) {
    const bool outer = f % 10 == 0;
    const std::string indent(outer ? 4 : 8, ' ');
    text += indent + "<DT><H3 ADD_DATE=\"1\">Folder " + std::to_string(f % 50) + "</H3>\n" +
            indent + "<DL><p>\n";
    for (int l = 0; l < kLinksPerFolder; ++l) {
      text += indent + "    <DT><A HREF=\"https://example.org/" + std::to_string(f) + "/" +
              std::to_string(l) + "\" ADD_DATE=\"1\">Link " + std::to_string(l) + "</A>\n";
    }
    if (!outer) text += indent + "</DL><p>\n";
    if (f % 10 == 9 || f == folders - 1) text += "    </DL><p>\n";
  }
  text += "</DL><p>\n";
  const std::string file = (BenchFolder() / ("bookmarks-" + std::to_string(n) + ".htm")).string();
  std::ofstream(file, std::ios::binary) << text;
  return made[n] = file;
}

// Folders nested depth deep, one link at the bottom.
std::string DeepBookmarkFile(int depth) {
  std::string text = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<TITLE>Bookmarks</TITLE>\n<DL><p>\n";
  for (int level = 1; level <= depth; ++level) {
    text += "<DT><H3>Level " + std::to_string(level) + "</H3>\n<DL><p>\n";
  }
  text += "<DT><A HREF=\"http://deep.example.com/\">The bottom</A>\n";
  for (int level = 0; level <= depth; ++level) text += "</DL><p>\n";
  const std::string file = (BenchFolder() / ("deep-" + std::to_string(depth) + ".htm")).string();
  std::ofstream(file, std::ios::binary) << text;
  return file;
}

std::string FavoritesFolder(int n) {
  static std::map<int, std::string> made;
  if (auto it = made.find(n); it != made.end()) return it->second;
  const auto root = BenchFolder() / ("favorites-" + std::to_string(n));
  for (int i = 0; i < n; ++i) {
    const auto folder =
        root / ("Folder " + std::to_string(i / 100)) / ("Sub " + std::to_string(i / 10 % 10));
    std::filesystem::create_directories(folder);
    // Written plainly: the store's own writer makes each file durable, which
    // is slow and not what is measured here.
    std::ofstream((folder / ("Link " + std::to_string(i % 10) + ".url")).string(), std::ios::binary)
        << "[DEFAULT]\r\nBASEURL=https://example.org/" << i
        << "\r\n[InternetShortcut]\r\nURL=https://example.org/" << i << "\r\n";
  }
  return made[n] = root.string();
}

// The folder path of every folder of the store, as the engine builds them.
std::vector<std::string> FolderPaths(const TFavoritesBase& store) {
  std::vector<std::string> paths, stack;
  for (const FavoriteItem* item : store.Entries()) {
    stack.resize(static_cast<std::size_t>(item->Level));
    if (item->isUrl) continue;
    std::string path;
    for (const std::string& name : stack) path += "\\" + name;
    paths.push_back(path + "\\" + std::string(item->NameText()));
    stack.emplace_back(item->NameText());
  }
  return paths;
}

void BM_LoadBookmarkFile(benchmark::State& state) {
  const std::string file = BookmarkFile(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    TFavoritesNS store(file);
    benchmark::DoNotOptimize(store.Count());
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_LoadBookmarkFile)
    ->DenseRange(2500, 10000, 2500)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

void BM_LoadDeepBookmarkFile(benchmark::State& state) {
  const std::string file = DeepBookmarkFile(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    TFavoritesNS store(file);
    benchmark::DoNotOptimize(store.Count());
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_LoadDeepBookmarkFile)
    ->RangeMultiplier(2)
    ->Range(2500, 20000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

void BM_LoadFavoritesFolder(benchmark::State& state) {
  const std::string root = FavoritesFolder(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    TFavoritesIE store(root);
    benchmark::DoNotOptimize(store.Count());
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_LoadFavoritesFolder)
    ->DenseRange(2500, 10000, 2500)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

template <class Store>
void GetFolderItemsOfEveryFolder(benchmark::State& state, const std::string& location) {
  Store store(location);
  const std::vector<std::string> paths = FolderPaths(store);
  for (auto _ : state) {
    std::size_t found = store.GetFolderItems("", 0).size();
    for (const std::string& path : paths) found += store.GetFolderItems(path, 1).size();
    benchmark::DoNotOptimize(found);
  }
  state.counters["folders"] = static_cast<double>(paths.size());
  state.SetComplexityN(state.range(0));
}

void BM_GetFolderItemsBookmarkFile(benchmark::State& state) {
  GetFolderItemsOfEveryFolder<TFavoritesNS>(state, BookmarkFile(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_GetFolderItemsBookmarkFile)
    ->DenseRange(2500, 10000, 2500)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

void BM_GetFolderItemsFavoritesFolder(benchmark::State& state) {
  GetFolderItemsOfEveryFolder<TFavoritesIE>(state,
                                            FavoritesFolder(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_GetFolderItemsFavoritesFolder)
    ->DenseRange(2500, 10000, 2500)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

}  // namespace
}  // namespace kestro

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ec;
  std::filesystem::remove_all(kestro::BenchFolder(), ec);
  return 0;
}
