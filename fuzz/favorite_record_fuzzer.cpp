// The favourites record of the handheld: any bytes decode into the fields
// Name, Parent, Level, Status and URL, or fail with the table's own error;
// what decodes packs again and decodes to the same values.
#include <cstdlib>

#include "base/exception.h"
#include "engine/item_list.h"
#include "fuzz_support.h"
#include "palmdb/record_layout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static kestro::ThcdPalmRemoteTable* table = [] {
    auto* t = new kestro::ThcdPalmRemoteTable;
    kestro::ConfigureFavoritesTable(*t);
    return t;
  }();
  kestro::RecordValues values;
  bool empty = false;
  try {
    kestro::RemoteToLocalRecord(*table, table->Options(), data, static_cast<uint32_t>(size), values,
                                empty);
  } catch (const kestro::Exception&) {
    return 0;
  }
  if (empty) return 0;  // no fields to pack again
  auto item = kestro::NewFavoriteItem();
  item->SetName(values.at(0));
  item->SetURL(values.at(4));
  const std::vector<uint8_t> packed = kestro::LocalToRemoteRecord(*table, table->Options(), values);
  kestro::RecordValues again;
  kestro::RemoteToLocalRecord(*table, table->Options(), packed.data(),
                              static_cast<uint32_t>(packed.size()), again, empty);
  if (again != values) std::abort();
  return 0;
}
