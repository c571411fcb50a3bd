// Speed of the simulated handheld through its Sync Manager library, as the
// conduit uses it: N new records written into a new database and closed;
// the same with every change flushed to the disk; N records read back by
// index; and, for comparison, rewriting the whole file on every change.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "hostapi/sync_manager.h"
#include "pdb_file.h"
#include "platform/dynamic_library.h"
#include "platform/environment.h"
#include "platform/file_system.h"

namespace {

using kestro::platform::DynamicLibrary;

struct Handheld {
  Handheld() {
    folder = (std::filesystem::temp_directory_path() / "kestro-sync20-bench").string();
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    kestro::platform::SetEnv("KESTRO_HANDHELD", folder);
    kestro::platform::UnsetEnv("KESTRO_HOST_JOURNAL");
    kestro::platform::UnsetEnv("KESTRO_HOST_FAULT");
  }
  ~Handheld() { std::filesystem::remove_all(folder); }
  std::string folder;
  DynamicLibrary library{std::string(KESTRO_BIN_DIR) + "/sync20.dll"};
  decltype(&SyncCreateDB) create = library.Function<decltype(&SyncCreateDB)>("SyncCreateDB");
  decltype(&SyncOpenDB) open = library.Function<decltype(&SyncOpenDB)>("SyncOpenDB");
  decltype(&SyncCloseDB) close = library.Function<decltype(&SyncCloseDB)>("SyncCloseDB");
  decltype(&SyncDeleteDB) remove = library.Function<decltype(&SyncDeleteDB)>("SyncDeleteDB");
  decltype(&SyncWriteRec) write = library.Function<decltype(&SyncWriteRec)>("SyncWriteRec");
  decltype(&SyncReadRecordByIndex) read = library.Function<decltype(&SyncReadRecordByIndex)>("SyncReadRecordByIndex");

  // A favourite record of about 60 bytes, like the conduit writes.
  std::string record = std::string("Example favourite") + '\0' + std::string(7, '\1') + "http://www.example.com/some/page.html" + '\0';

  void WriteDatabase(int64_t count) {
    SyncCreateDbBlock block{};
    std::snprintf(block.name, sizeof block.name, "BenchDB");
    if (create(&block) != 0) std::abort();
    for (int64_t i = 0; i < count; ++i) {
      SyncRawRecord r{};
      r.handle = block.handle;
      r.record_size = static_cast<uint32_t>(record.size());
      r.buffer_size = static_cast<uint16_t>(record.size());
      r.buffer = reinterpret_cast<uint8_t*>(record.data());
      if (write(&r) != 0) std::abort();
    }
    if (close(block.handle) != 0) std::abort();
  }
};

void BM_WriteRecordsAndClose(benchmark::State& state) {
  Handheld h;
  for (auto _ : state) {
    h.WriteDatabase(state.range(0));
    state.PauseTiming();
    h.remove("BenchDB", 0);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_WriteRecordsAndClose)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_WriteRecordsFlushedEachCall(benchmark::State& state) {
  Handheld h;
  kestro::platform::SetEnv("KESTRO_HANDHELD_FSYNC", "1");
  for (auto _ : state) {
    h.WriteDatabase(state.range(0));
    state.PauseTiming();
    h.remove("BenchDB", 0);
    state.ResumeTiming();
  }
  kestro::platform::UnsetEnv("KESTRO_HANDHELD_FSYNC");
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_WriteRecordsFlushedEachCall)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_OpenAndReadAll(benchmark::State& state) {
  Handheld h;
  h.WriteDatabase(state.range(0));
  std::vector<uint8_t> buffer(65000);
  for (auto _ : state) {
    uint8_t handle = 0;
    if (h.open("BenchDB", 0, &handle, 0x80) != 0) std::abort();
    for (int64_t i = 0; i < state.range(0); ++i) {
      SyncRawRecord r{};
      r.handle = handle;
      r.index = static_cast<uint16_t>(i);
      r.buffer = buffer.data();
      r.buffer_size = 65000;
      if (h.read(&r) != 0) std::abort();
    }
    h.close(handle);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_OpenAndReadAll)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// What durability would cost without the journal: the whole file written
// (temporary file, flush, rename) after every change.
void BM_RewriteWholeFileEachChange(benchmark::State& state) {
  Handheld h;
  const std::string path = h.folder + "/Rewrite.pdb";
  for (auto _ : state) {
    kestro::host::PdbDatabase db;
    db.name = "Rewrite";
    for (int64_t i = 0; i < state.range(0); ++i) {
      db.records.push_back({0, static_cast<uint32_t>(0x2000 + i), h.record});
      if (!kestro::platform::WriteFileAtomically(path, kestro::host::SerializePdb(db))) std::abort();
    }
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RewriteWholeFileEachChange)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
