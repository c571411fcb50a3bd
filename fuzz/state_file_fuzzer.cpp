// The state file: any bytes read as whole records or fail with the state
// file's error, and every record read is then found by the state's lookup.
#include <cstdlib>

#include "base/exception.h"
#include "engine/state_file.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kestro::FavoriteItemList items;
  try {
    items = kestro::ItemsFromImages(std::string(kestro::fuzz::Bytes(data, size)));
  } catch (const kestro::Exception&) {
    return 0;
  }
  const kestro::StateIndex index(items);
  for (const auto& item : items) {
    if (!index.URLExistInFile(*item)) std::abort();
  }
  return 0;
}
