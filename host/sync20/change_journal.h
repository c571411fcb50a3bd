// The write-ahead journal of one open database: each change is appended as a
// checksummed entry beside the .pdb before it counts as done, so a change is
// kept even when the process dies before the database is folded into its
// file. The journal names the exact file image it applies to; a journal
// whose file has since been rewritten is stale and is ignored. A torn or
// damaged entry ends the journal: it and everything after it are dropped.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pdb_file.h"
#include "record_index.h"

namespace kestro::host {

struct Change {
  enum Kind : uint8_t { kWrite = 1, kDelete = 2, kPurgeAll = 3, kPurgeDeleted = 4, kAppInfo = 5 };
  Kind kind = kWrite;
  uint32_t id = 0;         // kWrite, kDelete
  uint8_t attributes = 0;  // kWrite: the stored byte
  uint32_t seed = 0;       // kWrite: the ID seed after the write
  std::string data;        // kWrite: record bytes; kAppInfo: the block
};

// Applies one change to a database in memory and keeps its index by ID in
// step; the same code runs live and when a journal is replayed, so both end
// in the same state.
void ApplyChange(PdbDatabase& db, RecordIndex& index, Change change);

// CRC-32 (the zip polynomial), used to tie a journal to its file image.
uint32_t Crc32(std::string_view bytes);

// The first entry of a journal, naming the file image it applies to.
std::string JournalHeader(std::string_view base_image);
std::string EncodeChange(const Change& change);

// The changes of a journal that apply to base_image; nullopt when the journal
// belongs to another image (stale) or has no sound header.
std::optional<std::vector<Change>> ReadJournal(std::string_view journal,
                                               std::string_view base_image);

}  // namespace kestro::host
