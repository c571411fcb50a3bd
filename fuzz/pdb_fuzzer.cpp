// The simulated handheld's files: a .pdb image and a journal of changes
// beside it. Any bytes are refused with a reason or read; a journal that
// applies is replayed; and what results writes out as a file image that
// reads back. The input is the .pdb image's length (2 bytes, little-endian),
// the image, then the journal.
#include <cstdlib>
#include <utility>

#include "change_journal.h"
#include "fuzz_support.h"
#include "pdb_file.h"
#include "record_index.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kestro::host;
  const std::string_view input = kestro::fuzz::Bytes(data, size);
  if (input.size() < 2) return 0;
  const std::size_t pdb_size = std::min<std::size_t>(
      input.size() - 2, static_cast<uint8_t>(input[0]) | (static_cast<uint8_t>(input[1]) << 8));
  const std::string_view image = input.substr(2, pdb_size);
  const std::string_view journal = input.substr(2 + pdb_size);
  std::optional<PdbDatabase> db = ParsePdb(image);
  if (!db) return 0;
  if (auto changes = ReadJournal(journal, image)) {
    RecordIndex index;
    index.Rebuild(db->records);
    for (Change& change : *changes) ApplyChange(*db, index, std::move(change));
  }
  if (!ParsePdb(SerializePdb(*db))) std::abort();
  return 0;
}
