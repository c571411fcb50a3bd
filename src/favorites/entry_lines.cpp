#include "favorites/entry_lines.h"

namespace kestro {

void EntryLines::Clear() {
  slot_of_.clear();
  lines_.clear();
}

void EntryLines::Set(const FavoriteItem* entry, std::size_t line) {
  auto [it, added] = slot_of_.try_emplace(entry, lines_.size());
  if (added) {
    lines_.push_back(line);
  } else {
    lines_[it->second] = line;
  }
}

bool EntryLines::Find(const FavoriteItem* entry, std::size_t& line) const {
  auto it = slot_of_.find(entry);
  if (it == slot_of_.end()) return false;
  line = lines_[it->second];
  return true;
}

void EntryLines::Inserted(std::size_t at, std::size_t count) {
  for (std::size_t& line : lines_) {
    if (line >= at && line != kNone) line += count;
  }
}

void EntryLines::Erased(std::size_t from, std::size_t to) {
  for (auto it = slot_of_.begin(); it != slot_of_.end();) {
    const std::size_t line = lines_[it->second];
    if (line >= from && line < to) {
      lines_[it->second] = kNone;
      it = slot_of_.erase(it);
    } else {
      ++it;
    }
  }
  for (std::size_t& line : lines_) {
    if (line >= to && line != kNone) line -= to - from;
  }
}

}  // namespace kestro
