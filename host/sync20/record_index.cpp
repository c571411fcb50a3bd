#include "record_index.h"

namespace kestro::host {

void RecordIndex::Rebuild(const std::vector<PdbRecord>& records) {
  positions_.clear();
  positions_.reserve(records.size());
  for (std::size_t i = 0; i < records.size(); ++i) positions_.emplace(records[i].id, i);
}

int RecordIndex::Find(uint32_t id) const {
  auto it = positions_.find(id);
  return it == positions_.end() ? -1 : static_cast<int>(it->second);
}

void RecordIndex::Appended(uint32_t id, std::size_t position) { positions_[id] = position; }

void RecordIndex::Erased(uint32_t id, const std::vector<PdbRecord>& records, std::size_t position) {
  positions_.erase(id);
  for (std::size_t i = position; i < records.size(); ++i) positions_[records[i].id] = i;
}

}  // namespace kestro::host
