// Where each record of an open database sits in its record list, by unique
// ID, so that a write, a delete or a read by ID finds its record without
// walking the list (a HotSync writes every record, and walking the list for
// each would make it quadratic). It holds only when IDs are unique, which an
// open database keeps them; ApplyChange keeps it in step with the list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "pdb_file.h"

namespace kestro::host {

class RecordIndex {
 public:
  // Indexes the list afresh (after a purge, or when a database is read).
  void Rebuild(const std::vector<PdbRecord>& records);
  // The position of the record with this ID, or -1.
  int Find(uint32_t id) const;
  // The record with this ID was appended at position.
  void Appended(uint32_t id, std::size_t position);
  // The record with this ID was erased from position; the ones after it
  // moved up by one.
  void Erased(uint32_t id, const std::vector<PdbRecord>& records, std::size_t position);

 private:
  std::unordered_map<uint32_t, std::size_t> positions_;
};

}  // namespace kestro::host
