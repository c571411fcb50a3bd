// A desktop process that dies in the middle of a HotSync: it creates the
// database "Crash", writes the number of records given on its command line
// and ends at once, without closing the database or unloading the library,
// as a killed process would.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "hostapi/sync_manager.h"
#include "platform/dynamic_library.h"

int main(int argc, char** argv) {
  int count = argc > 1 ? std::atoi(argv[1]) : 1;
  auto* library = new kestro::platform::DynamicLibrary(std::string(KESTRO_BIN_DIR) + "/sync20.dll");
  auto create = library->Function<decltype(&SyncCreateDB)>("SyncCreateDB");
  auto write = library->Function<decltype(&SyncWriteRec)>("SyncWriteRec");
  if (!create || !write) return 2;
  SyncCreateDbBlock block{};
  std::snprintf(block.name, sizeof block.name, "Crash");
  if (create(&block) != 0) return 2;
  for (int i = 0; i < count; ++i) {
    std::string data = "record " + std::to_string(i);
    SyncRawRecord r{};
    r.handle = block.handle;
    r.record_size = static_cast<uint32_t>(data.size());
    r.buffer_size = static_cast<uint16_t>(data.size());
    r.buffer = reinterpret_cast<uint8_t*>(data.data());
    if (write(&r) != 0) return 2;
  }
  std::fflush(stdout);
  std::_Exit(9);
}
