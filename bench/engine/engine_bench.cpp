// Whole synchronise runs of the built conduit library, through OpenConduit,
// against the simulated handheld and real desktop files in a scratch folder:
//  - a run with nothing changed, n favourites in n/20 folders, both stores
//    (time should grow no faster than n log n);
//  - a first run bringing n new handheld favourites into an empty bookmark
//    file or an empty favourites folder.
// Each reports the host calls per record (from the stand-in host's journal).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "hostapi/host_records.h"
#include "hostapi/sync_manager.h"
#include "platform/dynamic_library.h"
#include "platform/environment.h"
#include "platform/file_system.h"

namespace kestro {
namespace {

using OpenConduitFn = int32_t (*)(void (*)(const char*), hostapi::ThcdSyncProperties*);
namespace fs = std::filesystem;

// A scratch world: settings, host folder, handheld, journal.
class World {
 public:
  World(int32_t browser, const std::string& name) : browser_(browser) {
    dir_ = (fs::temp_directory_path() / ("kestro-bench-" + name)).string();
    fs::remove_all(dir_);
    fs::create_directories(dir_ + "/handheld");
    location_ = dir_ + (browser == 0 ? "/Favorites" : "/bookmarks.htm");
    platform::SetEnv("KESTRO_REGISTRY", dir_ + "/registry.reg");
    platform::SetEnv("KESTRO_HOST_FOLDER", dir_ + "/");
    platform::SetEnv("KESTRO_HANDHELD", dir_ + "/handheld");
    platform::SetEnv("KESTRO_HOTSYNC_HOME", dir_ + "/home");
    platform::SetEnv("KESTRO_HOTSYNC_LOG", dir_ + "/log.txt");
    platform::SetEnv("KESTRO_MESSAGE_LOG", dir_ + "/messages.txt");
    platform::UnsetEnv("KESTRO_HOST_JOURNAL");
    char text[512];
    std::snprintf(text, sizeof text,
                  "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Kestro]\r\n\"FavoritesPath\"=\"%s\"\r\n"
                  "\"BrowserType\"=dword:%08x\r\n",
                  location_.c_str(), static_cast<unsigned>(browser));
    platform::WriteFileAtomically(dir_ + "/registry.reg", text);
    sync20_ = std::make_unique<platform::DynamicLibrary>(std::string(KESTRO_BIN_DIR) + "sync20.dll");
    conduit_ = std::make_unique<platform::DynamicLibrary>(std::string(KESTRO_BIN_DIR) + "Kestro.dll");
    open_ = conduit_->Function<OpenConduitFn>("OpenConduit");
  }
  ~World() {
    conduit_.reset();
    sync20_.reset();
    fs::remove_all(dir_);
  }

  // n favourites in n/20 folders (20 in each), on the desktop.
  void DesktopTree(int n) {
    if (browser_ == 1) {
      std::string text = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n<TITLE>Bookmarks</TITLE>\r\n<DL><p>\r\n";
      for (int f = 0; f < n / 20; ++f) {
        text += "    <DT><H3 ADD_DATE=\"1\">Folder " + std::to_string(f) + "</H3>\r\n    <DL><p>\r\n";
        for (int i = 0; i < 20; ++i) {
          text += "        <DT><A HREF=\"http://example.com/" + std::to_string(f) + "/" + std::to_string(i) +
                  "\">Site " + std::to_string(i) + "</A>\r\n";
        }
        text += "    </DL><p>\r\n";
      }
      platform::WriteFileAtomically(location_, text + "</DL><p>\r\n");
      return;
    }
    for (int f = 0; f < n / 20; ++f) {
      std::string folder = location_ + "/Folder " + std::to_string(f);
      fs::create_directories(folder);
      for (int i = 0; i < 20; ++i) {
        std::FILE* file = std::fopen((folder + "/Site " + std::to_string(i) + ".url").c_str(), "wb");
        std::fprintf(file, "[InternetShortcut]\r\nURL=http://example.com/%d/%d\r\n", f, i);
        std::fclose(file);
      }
    }
  }
  // An empty desktop with no state file: a first run.
  void EmptyDesktop() {
    fs::remove(dir_ + (browser_ == 0 ? "/KestroIE.ksd" : "/KestroNS.ksd"));
    if (browser_ == 1) {
      platform::WriteFileAtomically(location_, "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n<DL><p>\r\n</DL><p>\r\n");
    } else {
      fs::remove_all(location_);
      fs::create_directories(location_);
    }
  }
  // n new favourites on the handheld, in n/20 folders.
  void NewHandheld(int n) {
    auto remove = sync20_->Function<decltype(&::SyncDeleteDB)>("SyncDeleteDB");
    auto create = sync20_->Function<decltype(&::SyncCreateDB)>("SyncCreateDB");
    auto write = sync20_->Function<decltype(&::SyncWriteRec)>("SyncWriteRec");
    auto close = sync20_->Function<decltype(&::SyncCloseDB)>("SyncCloseDB");
    remove("KestroDB", 0);
    SyncCreateDbBlock block{};
    block.creator = 0x4B737472;
    block.type = 0x44415441;
    std::snprintf(block.name, sizeof block.name, "KestroDB");
    create(&block);
    uint32_t folder_id = 0;
    auto put = [&](const std::string& name, int32_t parent, int level, int status, const std::string& url) {
      std::string data = name + '\0';
      for (int shift = 24; shift >= 0; shift -= 8) data += static_cast<char>((static_cast<uint32_t>(parent) >> shift) & 0xFF);
      data += static_cast<char>(level >> 8);
      data += static_cast<char>(level & 0xFF);
      data += static_cast<char>(status);
      data += url + '\0';
      SyncRawRecord r{};
      r.handle = block.handle;
      r.record_size = static_cast<uint32_t>(data.size());
      r.buffer_size = static_cast<uint16_t>(data.size());
      r.buffer = reinterpret_cast<uint8_t*>(data.data());
      write(&r);
      return r.record_id;
    };
    for (int f = 0; f < n / 20; ++f) {
      folder_id = put("Folder " + std::to_string(f), 0, 0, 4 | 8, "");
      for (int i = 0; i < 20; ++i) {
        put("Site " + std::to_string(i), static_cast<int32_t>(folder_id), 1, 5 | 8,
            "http://example.com/" + std::to_string(f) + "/" + std::to_string(i));
      }
    }
    close(block.handle);
  }
  void Sync() {
    hostapi::ThcdSyncProperties props{};
    props.m_SyncType = 0;
    open_(nullptr, &props);
  }
  // Host calls of one run, from the journal.
  double HostCalls() {
    std::string journal = dir_ + "/journal.txt";
    fs::remove(journal);
    platform::SetEnv("KESTRO_HOST_JOURNAL", journal);
    Sync();
    platform::UnsetEnv("KESTRO_HOST_JOURNAL");
    std::string text;
    platform::ReadWholeFile(journal, text);
    double lines = 0;
    for (char c : text) lines += c == '\n';
    return lines;
  }
  const std::string& Location() const { return location_; }

 private:
  int32_t browser_;
  std::string dir_, location_;
  std::unique_ptr<platform::DynamicLibrary> sync20_, conduit_;
  OpenConduitFn open_ = nullptr;
};

void NoChangeSync(benchmark::State& state, int32_t browser) {
  const int n = static_cast<int>(state.range(0));
  World world(browser, "nochange");
  world.DesktopTree(n);
  world.Sync();  // the first run fills the handheld and the state file
  for (auto _ : state) world.Sync();
  state.counters["records"] = n + n / 20;
  state.counters["host_calls_per_record"] = world.HostCalls() / (n + n / 20);
  state.SetComplexityN(n);
}

void FirstRunFromHandheld(benchmark::State& state, int32_t browser) {
  const int n = static_cast<int>(state.range(0));
  World world(browser, "firstrun");
  double calls = 0;
  for (auto _ : state) {
    state.PauseTiming();
    world.EmptyDesktop();
    world.NewHandheld(n);
    state.ResumeTiming();
    world.Sync();
  }
  world.EmptyDesktop();
  world.NewHandheld(n);
  calls = world.HostCalls();
  state.counters["host_calls_per_record"] = calls / (n + n / 20);
}

BENCHMARK_CAPTURE(NoChangeSync, Folder, 0)
    ->RangeMultiplier(2)->Range(1000, 16000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oNLogN);
BENCHMARK_CAPTURE(NoChangeSync, BookmarkFile, 1)
    ->RangeMultiplier(2)->Range(1000, 16000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oNLogN);
BENCHMARK_CAPTURE(FirstRunFromHandheld, Folder, 0)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(FirstRunFromHandheld, BookmarkFile, 1)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace kestro

BENCHMARK_MAIN();
